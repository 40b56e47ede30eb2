// The file, path and text file built-ins against a real folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include "tests/support/script_run.h"

namespace zun {
namespace {

namespace fs = std::filesystem;

// Each test gets an empty folder of its own.
class FileBuiltins : public ::testing::Test {
 protected:
  void SetUp() override { dir = golden::FreshTestFolder(); }
  void TearDown() override { golden::RemoveTestFolder(dir); }

  fs::path Path(const std::string& name) const { return dir / name; }
  // A path as a script string literal.
  std::string Lit(const std::string& name) const {
    std::string out = "\"";
    for (char c : (name.empty() ? dir : Path(name)).string()) {
      if (c == '\\' || c == '"') out.push_back('\\');
      out.push_back(c);
    }
    return out + "\"";
  }
  // %NAME% in a script stands for the literal of that file in the folder,
  // %% for the folder itself.
  std::string WithPaths(const std::string& script) const {
    std::string out;
    for (size_t at = 0;;) {
      size_t open = script.find('%', at);
      size_t close = open == std::string::npos ? open : script.find('%', open + 1);
      if (close == std::string::npos) return out + script.substr(at);
      out += script.substr(at, open - at) + Lit(script.substr(open + 1, close - open - 1));
      at = close + 1;
    }
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const { return golden::ReadBytes(Path(name)); }
  void MakeReadOnly(const std::string& name) {
    fs::permissions(Path(name), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }
  // What the script showed; the last-error text is kept in lastError.
  std::string Run(const std::string& script) {
    EZunScriptEngine engine;
    std::string shown = golden::Shows(engine, WithPaths(script));
    lastError = ToUtf8(engine.strLastError);
    return shown;
  }
  std::vector<std::string> EntriesOf(const std::string& shown) {
    std::vector<std::string> items;
    std::stringstream s(shown);
    for (std::string item; std::getline(s, item, ',');) items.push_back(item);
    std::sort(items.begin(), items.end());
    return items;
  }

  fs::path dir;
  std::string lastError;
};

TEST_F(FileBuiltins, FoldersAndListing) {
  EXPECT_EQ(Run("print(str(FileExists(%%)) + str(FileIsFolder(%%)) + str(FileIsDirectory(%none%)));"), "110");
  EXPECT_EQ(Run(R"(var $a = ReadDirectory(%%); print(str(array_size($a)) + " " + str(GetLastError()));)"), "0 0");
  EXPECT_EQ(Run(R"(var $a = ReadDirectory(%none%); print(var_type($a) + str(array_size($a)) + str(GetLastError()));)"),
            "array01");
  EXPECT_EQ(Run("print(str(FileCreateDirectory(%sub%)) + str(FileCreateDirectory(%sub%)) +"
                " str(FileCreateDirectory(%no/such%)));"),
            "100");
  Write("a.txt", "x");
  // A trailing separator is dropped before the names are joined on.
  std::string sep(1, static_cast<char>(fs::path::preferred_separator));
  std::vector<std::string> expected = {(dir / "a.txt").string(), (dir / "sub").string()};
  EXPECT_EQ(EntriesOf(Run("print(str(ReadDirectory(%%)));")), expected);
  std::string trailing = Lit("");
  trailing.insert(trailing.size() - 1, sep == "\\" ? "\\\\" : "/");
  EXPECT_EQ(EntriesOf(Run("print(str(ReadDirectory(" + trailing + ")));")), expected);
}

TEST_F(FileBuiltins, Properties) {
  Write("five.txt", "12345");
  EXPECT_EQ(Run(R"(print(str(FileGetProperty(%five.txt%, "SIZE")) + " " + str(GetLastError()) + " " +
                     str(FileGetProperty(%%, "size")));)"),
            "5 0 0");
  EXPECT_EQ(Run(R"(print(str(FileGetProperty(%none%, "size")) + " " + str(FileGetProperty(%none%, "mtime")) + " " +
                     str(GetLastError()));)"),
            "-1 0 1");
  EXPECT_EQ(lastError, "could not read source file");
  EXPECT_EQ(Run(R"(FileGetProperty(%five.txt%, "Name");)"), "ERR:'FileGetProperty' function error:bad property:name");
  // Times are seconds since 1970, near the present for a file just written.
  EXPECT_EQ(Run(R"(print(str(TimeGetCurrent() - FileGetProperty(%five.txt%, "mtime") < 120) +
                     str(FileGetProperty(%five.txt%, "ctime") > 1000000000) +
                     str(FileGetProperty(%five.txt%, "atime") > 1000000000));)"),
            "111");
}

TEST_F(FileBuiltins, SizeIsReportedModulo4GiB) {
  std::error_code ec;
  { std::ofstream(Path("big.bin"), std::ios::binary); }
  fs::resize_file(Path("big.bin"), (uint64_t{1} << 32) + 7, ec);
  if (ec) GTEST_SKIP() << "the file system cannot hold a sparse 4 GiB file: " << ec.message();
  EXPECT_EQ(Run(R"(print(str(FileGetProperty(%big.bin%, "size")));)"), "7");
}

TEST_F(FileBuiltins, DeleteRenameCopyMove) {
  Write("a.txt", "A");
  Write("b.txt", "B");
  Write("ro.txt", "RO");
  MakeReadOnly("ro.txt");
  EXPECT_EQ(Run("print(str(FileDelete(%ro.txt%)) + str(FileRename(%a.txt%, %b.txt%)) +"
                " str(FileRename(%a.txt%, %c.txt%)));"),
            "001");
  EXPECT_EQ(Read("b.txt"), "B");
  EXPECT_EQ(Read("c.txt"), "A");
  // Copy refuses an existing target unless told to overwrite; a read-only
  // target is made writable first.
  EXPECT_EQ(Run("print(str(FileCopy(%c.txt%, %b.txt%)) + str(FileCopy(%c.txt%, %ro.txt%, 1)) +"
                " str(FileCopy(%c.txt%, %d.txt%)));"),
            "011");
  EXPECT_EQ(Read("b.txt"), "B");
  EXPECT_EQ(Read("ro.txt"), "A");
  EXPECT_EQ(Read("d.txt"), "A");
  Write("ro.txt", "RO");
  MakeReadOnly("ro.txt");
  EXPECT_EQ(Run("print(str(FileMove(%d.txt%, %b.txt%)) + str(FileMove(%d.txt%, %ro.txt%, 1)) +"
                " str(FileExists(%d.txt%)));"),
            "010");
  EXPECT_EQ(Read("ro.txt"), "A");
  EXPECT_EQ(Read("b.txt"), "B");
}

TEST_F(FileBuiltins, FailedMoveKeepsTheTarget) {
  Write("target.txt", "keep me");
  EXPECT_EQ(Run("print(str(FileMove(%missing.txt%, %target.txt%, 1)) + str(GetLastError()));"), "01");
  EXPECT_EQ(lastError, "could not delete existing target file");
  EXPECT_EQ(Read("target.txt"), "keep me");
  fs::create_directory(Path("folder"));
  Write("src.txt", "s");
  EXPECT_EQ(Run("print(str(FileMove(%src.txt%, %folder%, 1)));"), "0");
  EXPECT_EQ(Read("src.txt"), "s");
}

TEST_F(FileBuiltins, SaveWritesTheRequestedEncoding) {
  EXPECT_EQ(Run(R"(print(str(TextFileSave(%u.txt%, "A" + chr(0x263A), "utf-16 bom")) +
                     str(TextFileSave(%up.txt%, "Ab", "UTF-16")) + str(TextFileSave(%n.txt%, "Ab", "utf-16")) +
                     str(TextFileSave(%b.txt%, "Ab", "bom")));)"),
            "1111");
  EXPECT_EQ(Read("u.txt"), std::string("\xFF\xFE"
                                       "A\0\x3A\x26",
                                       6));
  EXPECT_EQ(Read("up.txt"), "Ab");
  EXPECT_EQ(Read("n.txt"), std::string("A\0b\0", 4));
  EXPECT_EQ(Read("b.txt"), "Ab");
  EXPECT_EQ(Run(R"(print(str(TextFileSave(%no/such/x.txt%, "x")) + str(GetLastError()));)"), "01");
}

TEST_F(FileBuiltins, AnsiWritesRefuseWhatTheCodePageCannotHold) {
  // What fits is written byte for byte: e-acute and the euro sign are one byte each.
  EXPECT_EQ(Run("print(str(TextFileSave(%e.txt%, chr(0xE9) + chr(0x20AC))) + str(GetLastError()));"), "10");
  EXPECT_EQ(Read("e.txt"), "\xE9\x80");
  // A UTF-8 file without a signature passes through unchanged.
  Write("utf8.txt", "\xE6\x97\xA5\xC3\xA9");
  EXPECT_EQ(Run("print(str(TextFileSave(%copy.txt%, TextFileLoad(%utf8.txt%))));"), "1");
  EXPECT_EQ(Read("copy.txt"), "\xE6\x97\xA5\xC3\xA9");
  // What does not fit is refused, and the file keeps what it had.
  Write("jp.txt", "old");
  EXPECT_EQ(Run(R"(print(str(TextFileSave(%jp.txt%, "ab" + chr(0x65E5) + chr(0x672C))) + str(GetLastError()));)"),
            "01");
  EXPECT_EQ(Read("jp.txt"), "old");
  EXPECT_EQ(lastError,
            "the character '\xE6\x97\xA5' (U+65E5) at position 2 is not in the ANSI code page; nothing was written "
            "(save with \"utf-16 bom\" to keep it)");
  // The same for appends, to an 8-bit file or to a new one; positions count in the appended text.
  Write("log.txt", "line\n");
  EXPECT_EQ(Run(R"(print(str(TextFileAppend(%log.txt%, "x" + chr(0x263A))) + str(GetLastError()));)"), "01");
  EXPECT_EQ(Read("log.txt"), "line\n");
  EXPECT_NE(lastError.find("(U+263A) at position 1 "), std::string::npos) << lastError;
  EXPECT_EQ(Run("print(str(TextFileAppend(%new.txt%, chr(0x263A))));"), "0");
  EXPECT_FALSE(fs::exists(Path("new.txt")));
  // UTF-16 takes every character.
  EXPECT_EQ(
      Run(R"(print(str(TextFileSave(%u.txt%, chr(0x65E5), "utf-16 bom")) + str(TextFileAppend(%u.txt%, chr(0x263A))));)"),
      "11");
  EXPECT_EQ(Read("u.txt"), std::string("\xFF\xFE\xE5\x65\x3A\x26", 6));
}

TEST_F(FileBuiltins, LoadReportsTheEncoding) {
  Write("ansi.txt", "caf\xE9");
  Write("le.txt", std::string("\xFF\xFEH\0i\0", 6));
  Write("be.txt", std::string("\xFE\xFF\0H\0i", 6));
  Write("zero.txt", std::string("ab\0cd", 5));
  EXPECT_EQ(Run(R"(print(TextFileLoad(%ansi.txt%) + "[" + GetLastAdditionalResult() + "]");)"), "caf\xC3\xA9[ansi]");
  EXPECT_EQ(Run(R"(print(TextFileLoad(%le.txt%) + "[" + GetLastAdditionalResult() + "]" +
                     TextFileLoad(%be.txt%) + "[" + GetLastAdditionalResult() + "]");)"),
            "Hi[ utf-16 bom]Hi[ utf-16 bom]");
  EXPECT_EQ(Run(R"(TextFileLoad(%ansi.txt%);
                   print("<" + TextFileLoad(%zero.txt%) + ">" + str(GetLastError()) + GetLastAdditionalResult());)"),
            "<>1ansi");
}

TEST_F(FileBuiltins, AppendKeepsTheEncoding) {
  EXPECT_EQ(Run(R"(print(str(TextFileAppend(%new.txt%, "one")) + str(TextFileAppend(%new.txt%, "two")));)"), "11");
  EXPECT_EQ(Read("new.txt"), "onetwo");
  Write("le.txt", std::string("\xFF\xFEH\0", 4));
  Write("be.txt", std::string("\xFE\xFF\0H", 4));
  EXPECT_EQ(Run(R"(print(str(TextFileAppend(%le.txt%, "i")) + str(TextFileAppend(%be.txt%, "i")));)"), "11");
  EXPECT_EQ(Read("le.txt"), std::string("\xFF\xFEH\0i\0", 6));
  EXPECT_EQ(Read("be.txt"), std::string("\xFE\xFF\0H\0i", 6));
  // An empty UTF-16 file is its mark alone, and stays UTF-16.
  EXPECT_EQ(Run(R"(TextFileSave(%e.txt%, "", "utf-16 bom"); print(str(TextFileAppend(%e.txt%, "ab")));)"), "1");
  EXPECT_EQ(Read("e.txt"), std::string("\xFF\xFE"
                                       "a\0b\0",
                                       6));
  // A file that cannot be read is not overwritten.
  Write("zero.txt", std::string("ab\0cd", 5));
  EXPECT_EQ(Run("print(str(TextFileAppend(%zero.txt%, \"x\")));"), "0");
  EXPECT_EQ(lastError, "error reading source file");
  EXPECT_EQ(Read("zero.txt"), std::string("ab\0cd", 5));
  Write("ro.txt", "old");
  MakeReadOnly("ro.txt");
  EXPECT_EQ(Run("print(str(TextFileAppend(%ro.txt%, \"x\")));"), "0");
  EXPECT_EQ(lastError, "error saving");
  EXPECT_EQ(Read("ro.txt"), "old");
}

#ifndef _WIN32
// A disk that fills up part-way: the file size limit makes the write fail
// after some bytes, even for root.
TEST_F(FileBuiltins, FailedWriteLeavesTheOldFile) {
  Write("keep.txt", "old contents");
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string shown = Run(R"(print(str(TextFileSave(%keep.txt%, "new and much longer")) +
                               str(TextFileAppend(%keep.txt%, " more")));)");
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(shown, "00");
  EXPECT_EQ(Read("keep.txt"), "old contents");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "a temporary file was left";
}
#endif

}  // namespace
}  // namespace zun
