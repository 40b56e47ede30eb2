// The script loader and the command line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#endif

#include "loader/command_line.h"
#include "loader/text_file.h"
#include "platform/arguments.h"
#include "tests/support/script_run.h"

namespace zun {
namespace {

namespace fs = std::filesystem;

class Loader : public ::testing::Test {
 protected:
  void SetUp() override { dir = golden::FreshTestFolder(); }
  void TearDown() override { golden::RemoveTestFolder(dir); }
  u16 Write(const std::string& name, const std::string& bytes) {
    fs::path p = dir / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return FromUtf8(p.string());
  }
  bool Load(const std::string& bytes, u16& text, uint32_t& flags) {
    return LoadTextFile(Write("f.txt", bytes), text, &flags);
  }
  fs::path dir;
};

TEST_F(Loader, EncodingsAndZeroBytes) {
  const std::string hundred(100, 'x');
  const u16 hundredText(100, u'x');
  struct Case {
    std::string bytes;
    const char16_t* text;  // nullptr: refused, the text left as it was
    uint32_t flags;
  };
  const Case cases[] = {
      {"", u"", TEXTFILE_ANSI},
      {std::string("\xFF\xFE"
                   "a\0b\0",
                   6),
       u"ab", 6},
      {std::string("\xFE\xFF\0a\0b", 6), u"ab", 74},
      {std::string("\xFF\xFE"
                   "a\0b",
                   5),
       u"ab", 6},  // an odd last byte makes a unit with a zero byte
      {std::string("\xFE\xFF\0a"
                   "b",
                   5),
       u"ab", 74},
      {"\xEF\xBB\xBFx", u"\u00EF\u00BB\u00BFx", TEXTFILE_ANSI},  // the UTF-8 signature as three ANSI characters
      {"\x80\xE9", u"\u20AC\u00E9", TEXTFILE_ANSI},              // Windows-1252
      {std::string("a\0b", 3), u"a", TEXTFILE_ANSI},             // 1 to 3 bytes without a mark are ANSI
      {"\xFF\xFE", u"", 6},                                      // the mark alone: empty UTF-16
      {"\xFE\xFF", u"", 74},
      {"\xFF\xFE"
       "A",
       u"A", 6},
      {std::string("ab\0cd", 5), nullptr, TEXTFILE_BINARY},
      {std::string("a\0b\0", 4), nullptr, TEXTFILE_BINARY},                      // UTF-16 without a mark
      {hundred + std::string("\0more", 5), hundredText.c_str(), TEXTFILE_ANSI},  // a zero after 100 bytes ends the text
      {std::string("abcd\0", 5), u"abcd", TEXTFILE_ANSI},                        // the last byte is not looked at
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    u16 text = u"unchanged";
    uint32_t flags = 99;
    EXPECT_EQ(Load(c.bytes, text, flags), c.text != nullptr);
    EXPECT_EQ(flags, c.flags);
    EXPECT_EQ(text, c.text ? c.text : u"unchanged");
  }
}

// A script file with the UTF-8 signature is UTF-8; every other script reads
// as a text file does (the table above).
TEST_F(Loader, ScriptsWithTheUtf8Signature) {
  const u16 hundredText(100, u'x');
  struct Case {
    std::string bytes;
    const char16_t* text;  // nullptr: refused
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF", u""},
      {"\xEF\xBB\xBF"
       "print(\"\xE6\x97\xA5\xC3\xA9\xF0\x9F\x98\x80\");",
       u"print(\"\u65E5\u00E9\U0001F600\");"},
      // ill-formed: a stray continuation, an overlong '/', a surrogate, a cut-off sequence at the end
      {"\xEF\xBB\xBF\x80"
       "a\xC0\xAF"
       "b\xED\xA0\x80"
       "c\xE6\x97",
       u"\uFFFDa\uFFFD\uFFFDb\uFFFD\uFFFD\uFFFDc\uFFFD"},
      {std::string("\xEF\xBB\xBF"
                   "ab\0cd",
                   8),
       nullptr},  // the zero-byte rule holds after the signature
      {std::string("\xEF\xBB\xBF") + std::string(100, 'x') + std::string("\0yz", 3), hundredText.c_str()},
      {"\xE6\x97\xA5", u"\u00E6\u2014\u00A5"},  // no signature: ANSI, byte for byte
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    u16 text = u"unchanged";
    EXPECT_EQ(LoadScriptFile(Write("s.zunscript", c.bytes), text), c.text != nullptr);
    EXPECT_EQ(text, c.text ? c.text : u"unchanged");
  }
}

TEST_F(Loader, MissingFileAndSizeLimit) {
  u16 text;
  uint32_t flags = 5;
  EXPECT_FALSE(LoadTextFile(FromUtf8((dir / "missing").string()), text, &flags));
  EXPECT_EQ(flags, 0u);
  EXPECT_FALSE(LoadTextFile(FromUtf8(dir.string()), text, &flags));  // a folder
  CByteBuffer buf;
  EXPECT_FALSE(ReadFileToBuffer(Write("small.txt", std::string(3000, 'a')), buf, 2048));
  CByteBuffer whole;
  EXPECT_TRUE(ReadFileToBuffer(Write("small.txt", std::string(3000, 'a')), whole, 3001));
  EXPECT_EQ(whole.nSize, 3000);
  // 100 MiB is refused from the file's size: nothing of it is read.
  u16 big = Write("big.txt", "x");
  fs::resize_file(fs::path(ToUtf8(big)), kMaxTextFileBytes);
  CByteBuffer none;
  EXPECT_FALSE(ReadFileToBuffer(big, none, kMaxTextFileBytes));
  EXPECT_EQ(none.nSize, 0);
  EXPECT_FALSE(LoadTextFile(big, text, &flags));
  EXPECT_EQ(flags, 0u);
}

#ifdef _WIN32
// The loader shares the file with readers only: a writer still at work on
// the file keeps it from being read half-written.
TEST_F(Loader, FileHeldOpenForWritingIsRefused) {
  u16 path = Write("busy.txt", "print(1);");
  std::wstring wide(path.begin(), path.end());
  HANDLE writer = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  u16 text;
  EXPECT_FALSE(LoadTextFile(path, text));
  CloseHandle(writer);
  EXPECT_TRUE(LoadTextFile(path, text));
  EXPECT_EQ(text, u"print(1);");
}
#endif

std::vector<u16> Split(const u16& line) { return SplitCommandLine(u"zunrun.exe " + line); }

TEST(CommandLine, SplittingFollowsTheRuntimeRules) {
  EXPECT_EQ(Split(u"a \"b c\" d"), (std::vector<u16>{u"a", u"b c", u"d"}));
  EXPECT_EQ(Split(u"\"C:\\My Scripts\\x.zunscript\" /del"),
            (std::vector<u16>{u"C:\\My Scripts\\x.zunscript", u"/del"}));
  EXPECT_EQ(Split(u"a\\\\\"b c\" \\\"q"), (std::vector<u16>{u"a\\b c", u"\"q"}));
  EXPECT_EQ(SplitCommandLine(u"\"C:\\Program Files\\zunrun.exe\" x"), std::vector<u16>{u"x"});
}

// Joining is what a program does to pass arguments on: they must split back
// exactly, blanks, quotes and backslashes included.
TEST(CommandLine, JoinedArgumentsSplitBackUnchanged) {
  const std::vector<u16> args{
      u"plain",     u"",   u"two words", u"say \"hi\"", u"C:\\dir\\", u"C:\\My Dir\\", u"a\\\"b", u"\\\\server\\share",
      u"tab\there", u"\"", u"\\"};
  EXPECT_EQ(Split(JoinCommandLine(args)), args);
  EXPECT_EQ(JoinCommandLine({u"Ann", u"Bob Smith"}), u"Ann \"Bob Smith\"");
}

CZunRunCommandLineInfo Parse(const std::vector<u16>& args) {
  CZunRunCommandLineInfo info;
  ParseCommandLine(info, args);
  return info;
}

TEST(CommandLine, SwitchesTakeTheNextPlainArgument) {
  auto a = Parse({u"script.zunscript", u"/del"});
  EXPECT_EQ(a.files, std::vector<u16>{u"script.zunscript"});
  EXPECT_TRUE(a.IsSwitchTrue(u"del"));
  auto b = Parse({u"/del", u"script.zunscript"});
  EXPECT_TRUE(b.files.empty());
  EXPECT_FALSE(b.IsSwitchTrue(u"del"));
  u16 value;
  EXPECT_TRUE(b.LookupSwitch(u"DEL", value));
  EXPECT_EQ(value, u"script.zunscript");
  auto c = Parse({u"/DEL", u"TRUE", u"script.zunscript"});
  EXPECT_EQ(c.files.size(), 1u);
  EXPECT_TRUE(c.IsSwitchTrue(u"del"));
  auto d = Parse({u"-Del", u"true"});
  EXPECT_TRUE(d.IsSwitchTrue(u"Del"));
}

}  // namespace
}  // namespace zun
