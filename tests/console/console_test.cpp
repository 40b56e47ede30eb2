// The console host as a program: exit status, what goes to which stream,
// answers from standard input, and every golden script through it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <signal.h>
#endif

#include "tests/support/process.h"
#include "tests/support/script_run.h"
#include "tests/support/transcript.h"

namespace zun::golden {
namespace {

namespace fs = std::filesystem;

std::string g_zunrunc;
fs::path g_scripts;

class Console : public ::testing::Test {
 protected:
  void SetUp() override { dir = FreshTestFolder(); }
  void TearDown() override { RemoveTestFolder(dir); }

  std::string Script(const std::string& text, const std::string& name = "s.zunscript") {
    fs::path p = dir / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  ProcessResult Run(const std::vector<std::string>& args, const std::string& input = "") {
    ProcessResult r = RunProcess(g_zunrunc, args, input);
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.timedOut);
    return r;
  }
  ProcessResult RunText(const std::string& script, const std::string& input = "") {
    return Run({Script(script)}, input);
  }

  fs::path dir;
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(Console, ExitStatusTellsWhatHappened) {
  ProcessResult none = Run({});
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_TRUE(Has(none.err, "No script file passed")) << none.err;
  EXPECT_TRUE(Has(none.err, "Usage: zunrunc"));
  ProcessResult two = Run({Script("print(1);", "a.zunscript"), Script("print(2);", "b.zunscript")});
  EXPECT_EQ(two.exitCode, 2);
  EXPECT_TRUE(Has(two.err, "Too many script files passed"));
  std::string missing = (dir / "missing.zunscript").string();
  ProcessResult gone = Run({missing});
  EXPECT_EQ(gone.exitCode, 2);
  EXPECT_TRUE(Has(gone.err, "Could not load file:" + missing)) << gone.err;
  EXPECT_EQ(gone.out, "");

  ProcessResult clean = RunText("print(\"hi\"); MessageBox(\"there\", \"Title\");");
  EXPECT_EQ(clean.exitCode, 0);
  EXPECT_EQ(clean.out, "hi\n[Title] there\n");
  EXPECT_EQ(clean.err, "");
  ProcessResult failed = RunText("print(1);\r\n  nosuch(2);\n");
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_EQ(failed.out, "1\n");
  EXPECT_TRUE(Has(failed.err, "(pos 22, line 2, column 12) : 'nosuch' function not found")) << failed.err;

  EXPECT_EQ(Run({"--help"}).exitCode, 0);
  // The number comes from the file VERSION at the root (tests/scripts/../../VERSION).
  std::string number;
  std::ifstream(g_scripts.parent_path().parent_path() / "VERSION") >> number;
  ASSERT_FALSE(number.empty());
  EXPECT_EQ(Run({"--version"}).out, "zunrunc " + number + " (ZUN Script 1.3)\n");
  ProcessResult check = Run({"--check", Script("print(\"never\"); \"open")});
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_EQ(check.out, "");
  EXPECT_EQ(Run({"--check", Script("print(\"never\");")}).out, "");
  EXPECT_EQ(Run({"--bogus", Script("print(1);")}).exitCode, 2);
}

TEST_F(Console, ScriptFromStandardInputAndTimeOut) {
  ProcessResult piped = Run({"-"}, "print(\"piped\"); print(str(MessageBox(\"q\", \"Q\", MB_YESNO)));");
  EXPECT_EQ(piped.exitCode, 0);
  EXPECT_EQ(piped.out, "piped\n[Q] q\n6\n") << "questions take their defaults: the input was the script";
  EXPECT_EQ(Run({"-", Script("print(1);")}).exitCode, 2);

  ProcessResult endless = Run({"--timeout", "1", Script("var $i = 0; repeat { $i += 1; }")});
  EXPECT_EQ(endless.exitCode, 3);
  EXPECT_TRUE(Has(endless.err, "pause pressed:exiting")) << endless.err;
  EXPECT_TRUE(Has(endless.err, "zunrunc: the script ran longer than 1 s and was ended")) << endless.err;
  EXPECT_EQ(Run({"--timeout=0.5", Script("print(\"quick\");")}).exitCode, 0);
  EXPECT_EQ(Run({"--timeout", "soon", Script("print(1);")}).exitCode, 2);
}

TEST_F(Console, RandomSequenceRepeatsAcrossRuns) {
  std::string script = Script("print(str(rand()) + \",\" + str(rand()) + \",\" + str(rand()));");
  EXPECT_EQ(Run({script}).out, "41,18467,6334\n");
  EXPECT_EQ(Run({script}).out, "41,18467,6334\n");
}

TEST_F(Console, DelRemovesTheScriptAfterTheRun) {
  std::string path = Script("print(\"ran\");");
  ProcessResult r = Run({path, "/del"});
  EXPECT_EQ(r.out, "ran\n");
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(Console, AnswersComeFromStandardInput) {
  ProcessResult boxes = RunText(
      "print(str(MessageBox(\"q1\", \"Q\", MB_YESNOCANCEL)) + str(MessageBox(\"q2\", \"Q\", MB_YESNOCANCEL)) +"
      " str(MessageBox(\"q3\", \"Q\", MB_OKCANCEL)) + str(MessageBox(\"q4\", \"Q\", MB_YESNO)));",
      "n\nCANCEL\nmaybe\nc\n");
  EXPECT_EQ(boxes.out, "[Q] q1\n[Q] q2\n[Q] q3\n[Q] q4\n7226\n") << boxes.err;
  EXPECT_TRUE(Has(boxes.err, "[Yes/No/Cancel]? ")) << boxes.err;

  ProcessResult input = RunText(
      "var $a = InputBox(\"Name?\"); var $b = GetLastAdditionalResult();"
      "var $c = InputBox(\"More?\", \"multiline\"); print($a + str($b) + \"|\" + $c + str(GetLastAdditionalResult()));",
      "Ada Lovelace\n");
  EXPECT_EQ(input.out, "Ada Lovelace1|2\n") << input.err;
  EXPECT_TRUE(Has(input.err, "Name?"));

  ProcessResult menu = RunText(
      "var $m = Array(\"one\", \"\", \":grayed:two\", \":checked:three\");"
      "print(WinShowMenu($m) + \"|\" + WinShowMenu($m) + \"|\" + WinShowMenu($m) + \"|\" + WinShowMenu($m) + \"|\");",
      "4\none\n3\n");
  EXPECT_EQ(menu.out, ":checked:three|one|||\n") << menu.err;
  EXPECT_TRUE(Has(menu.err, "4. * three")) << menu.err;
  EXPECT_TRUE(Has(menu.err, "two (unavailable)"));
}

#ifndef _WIN32
TEST_F(Console, PrintsUtf8) {
  ProcessResult r = RunText("print(\"caf\" + chr(0xE9) + \" \" + chr(0x263A) + \" \" + chr(0x20AC));");
  EXPECT_EQ(r.out, "caf\xC3\xA9 \xE2\x98\xBA \xE2\x82\xAC\n");
}
#endif

#ifndef _WIN32
TEST_F(Console, TerminationSignalsEndTheRunInOrder) {
  std::string loop = Script("print(\"ready\"); var $i = 0; repeat { $i += 1; }");
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    ProcessOptions options;
    options.signals = {sig};
    options.signalWhenOutputHas = "ready";
    ProcessResult r = RunProcess(g_zunrunc, {loop}, options);
    EXPECT_EQ(r.exitCode, 1) << sig;
    EXPECT_TRUE(Has(r.err, "pause pressed:exiting")) << r.err;
    EXPECT_LT(r.msFromSignalToExit, 1000);
  }
  // A second signal before the run has stopped changes nothing.
  ProcessOptions twice;
  twice.signals = {SIGINT, SIGINT};
  twice.signalWhenOutputHas = "ready";
  ProcessResult r = RunProcess(g_zunrunc, {loop}, twice);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Has(r.err, "pause pressed:exiting"));
}

TEST_F(Console, SignalDuringALargeSaveKeepsTheFileWhole) {
  fs::path target = dir / "target.txt";
  std::ofstream(target) << "old";
  std::string script = Script("var $big = \"x\"; var $i = 0; repeat { $big += $big; $i += 1; if ($i >= 25) break; }"
                              "print(\"ready\"); repeat { TextFileSave(\"" + target.string() + "\", $big); }");
  ProcessOptions options;
  options.signals = {SIGTERM};
  options.signalWhenOutputHas = "ready";
  ProcessResult r = RunProcess(g_zunrunc, {script}, options);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Has(r.err, "pause pressed:exiting")) << r.err;
  uintmax_t size = fs::file_size(target);
  EXPECT_TRUE(size == 3 || size == (uintmax_t{1} << 25)) << size;
  for (const auto& e : fs::directory_iterator(dir))
    EXPECT_EQ(e.path().filename().string().rfind(".zunrun-", 0), std::string::npos) << e.path();
}

TEST_F(Console, OutputThatCannotBeWrittenIsAnError) {
  std::string script = Script("print(\"hello\");");
  for (const char* out : {"-", "/dev/full"}) {
    ProcessOptions options;
    options.stdoutPath = out;
    ProcessResult r = RunProcess(g_zunrunc, {script}, options);
    EXPECT_NE(r.exitCode, 0) << out;
    EXPECT_TRUE(Has(r.err, "could not write to standard output")) << r.err;
  }
}

#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer's shadow memory needs more address space
TEST_F(Console, RunningOutOfMemoryIsAScriptError) {
  ProcessOptions options;
  options.addressSpaceBytes = size_t{512} << 20;
  ProcessResult r = RunProcess(g_zunrunc,
                               {Script("var $s = \"abcdefgh\"; var $i = 0;\n"
                                       "repeat { $s += $s; $i += 1; if ($i >= 40) break; }\nprint(\"never\");")},
                               options);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(Has(r.err, "(pos 51, line 2, column 19) : out of memory")) << r.err;
}
#endif
#endif

// What the console shows of a box: its line on standard output, or for the
// engine's own boxes a block on standard error.
std::string TerminalLines(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i] == '\r' ? '\n' : text[i]);
  }
  return out;
}

std::string WithoutLineAndColumn(std::string text) {
  for (size_t at; (at = text.find(", line ")) != std::string::npos;) {
    size_t end = text.find(") : ", at);
    if (end == std::string::npos) break;
    text.erase(at, end - at);
  }
  return text;
}

TEST(ConsoleGolden, EveryScriptPrintsItsTranscript) {
  std::vector<fs::path> scripts = GoldenScripts(g_scripts);
  ASSERT_FALSE(scripts.empty());
  for (const fs::path& script : scripts) {
    SCOPED_TRACE(script.filename().string());
    std::vector<Entry> entries = ParseTranscript(ReadBytes(fs::path(script).replace_extension(".transcript")));
    std::string input, out;
    std::vector<std::string> engineBlocks;
    bool answerable = true;
    for (const Entry& e : entries) {
      if (e.kind == "box") {
        const std::string& caption = e.fields[0];
        std::string text = TerminalLines(e.fields[2]);
        if (caption == "ZunRun") {
          engineBlocks.push_back(text);
          continue;
        }
        out += (caption == "ZUN Script" ? text : "[" + caption + "] " + text) + "\n";
        if (e.fields[1].find('|') != std::string::npos) input += e.fields[3] + "\n";
      } else if (e.kind == "input") {
        // A terminal cancels an input box only at the end of its input.
        answerable = answerable && e.fields[3] == "OK";
        input += e.fields[2] + "\n";
      } else {
        input += e.fields[1] + "\n";
      }
    }
    if (!answerable) continue;
    ScopedEnv env(EnvOf(ReadBytes(script)));
    ProcessResult r = RunProcess(g_zunrunc, {script.string()}, input);
    EXPECT_EQ(r.out, out);
    std::string err = WithoutLineAndColumn(r.err);
    for (const std::string& block : engineBlocks) EXPECT_TRUE(Has(err, block)) << block << "\nin:\n" << r.err;
    EXPECT_EQ(r.exitCode, engineBlocks.empty() ? 0 : 1);
  }
}

}  // namespace
}  // namespace zun::golden

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: zun_console_tests ZUNRUNC SCRIPTS_DIR\n");
    return 2;
  }
  zun::golden::g_zunrunc = zun::golden::HostPath(argv[1]);
  zun::golden::g_scripts = zun::golden::HostPath(argv[2]);
  return RUN_ALL_TESTS();
}
