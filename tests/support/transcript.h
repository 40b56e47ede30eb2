// Golden transcripts: every dialog a script shows, one line each, with the
// answer given. The same file drives the recording dialogs (natively) and
// the Windows driver (through the real program), and is what both must
// reproduce.
//
//   box <TAB> caption <TAB> buttons <TAB> text <TAB> answer
//   input <TAB> question <TAB> multiline|single <TAB> typed text <TAB> OK|Cancel
//   menu <TAB> items (| separated) <TAB> chosen item text, or -
//
// Texts are escaped: \r \n \t \\ and \| inside menu items.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace zun::golden {

struct Entry {
  std::string kind;                 // "box", "input" or "menu"
  std::vector<std::string> fields;  // unescaped, after the kind
};

std::string Escape(const std::string& utf8);
std::string Unescape(const std::string& text);
std::vector<Entry> ParseTranscript(const std::string& text);
// One line for each entry.
std::string FormatTranscript(const std::vector<Entry>& entries);

// One item of a "menu" entry's list: "(checked)" and "(grayed)" before its
// text; a separator is empty.
struct MenuLine {
  std::string text;
  bool separator = false, grayed = false, checked = false;
};
std::string FormatMenuLines(const std::vector<MenuLine>& lines);
std::vector<MenuLine> ParseMenuLines(const std::string& list);

// What a transcript means for zunrunc, which prints each box's text as a
// line and reads every answer from standard input: the input to type, the
// standard output expected, and the engine's report blocks (boxes captioned
// "ZunRun", shown on standard error). A terminal cancels an input box only
// at the end of its input, so a transcript that cancels one and then asks
// again cannot be replayed there (`answerable` false).
struct ConsoleExpectation {
  std::string input, out;
  std::vector<std::string> engineBlocks;
  bool answerable = true;
};
ConsoleExpectation ForConsole(const std::vector<Entry>& entries);

// The golden scripts of a folder (*.zunscript), sorted; each has its
// NAME.transcript beside it.
std::vector<std::filesystem::path> GoldenScripts(const std::filesystem::path& folder);
// A file's bytes; "" when it cannot be read.
std::string ReadBytes(const std::filesystem::path& path);
// The environment a golden script runs in: the NAME=VALUE words of its
// first line when that reads "// env: A=B C=D".
std::vector<std::string> EnvOf(const std::string& script);

// A path CMake gave ("/work/x") as the program under test sees it: under
// Wine on drive Z: ("Z:\work\x"), where "/" would start a switch.
std::string HostPath(const std::string& path);

// What one host showed of a golden script, in transcript form; `problem`
// says what else went wrong ("" when nothing did).
using GoldenRun = std::function<std::string(const std::filesystem::path& script, const std::vector<Entry>& expected,
                                            std::string& problem)>;
// Runs every golden script of `folder` (or only the one named `only`),
// prints "ok" or "FAIL" and the difference for each, and returns the exit
// status of the whole. `update` writes each differing transcript from the
// run instead (answers still come from the old one); review the diff.
int CheckGoldenScripts(const std::filesystem::path& folder, const std::string& only, bool update, const GoldenRun& run);

}  // namespace zun::golden
