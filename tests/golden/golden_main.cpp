// Runs every tests/scripts/NAME.zunscript through the recording dialogs and
// compares what it shows with NAME.transcript.
//
// A script's first line may set environment variables for its run:
//   // env: TZ=CET-1
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "loader/text_file.h"
#include "builtins/table.h"
#include "tests/support/script_run.h"

namespace fs = std::filesystem;
using namespace zun;
using namespace zun::golden;

namespace {

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void ApplyEnvLine(const u16& script) {
  static const u16 kPrefix = u"// env: ";
  if (script.compare(0, kPrefix.size(), kPrefix) != 0) return;
  std::string line = ToUtf8(script.substr(kPrefix.size(), script.find_first_of(u"\r\n") - kPrefix.size()));
  std::istringstream words(line);
  std::string assignment;
  while (words >> assignment) {
    size_t eq = assignment.find('=');
    if (eq == std::string::npos) continue;
#ifdef _WIN32
    _putenv_s(assignment.substr(0, eq).c_str(), assignment.substr(eq + 1).c_str());
#else
    setenv(assignment.substr(0, eq).c_str(), assignment.substr(eq + 1).c_str(), 1);
#endif
  }
#ifdef _WIN32
  _tzset();
#else
  tzset();
#endif
}

}  // namespace

int main(int argc, char** argv) {
  // --update writes each transcript from the run (answers are taken from
  // the old transcript); review the diff before committing it.
  bool update = argc > 1 && std::string(argv[1]) == "--update";
  if (update) {
    --argc;
    ++argv;
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: zun_golden [--update] SCRIPTS_DIR [NAME]\n");
    return 2;
  }
  std::vector<fs::path> scripts;
  for (const auto& entry : fs::directory_iterator(argv[1]))
    if (entry.path().extension() == ".zunscript") scripts.push_back(entry.path());
  std::sort(scripts.begin(), scripts.end());
  int passed = 0, failed = 0;
  for (const auto& path : scripts) {
    if (argc > 2 && path.stem().string() != argv[2]) continue;
    fs::path expectedPath = path;
    expectedPath.replace_extension(".transcript");
    std::string expectedText = ReadAll(expectedPath);
    std::vector<Entry> expected = ParseTranscript(expectedText);
    u16 script;
    if (!LoadTextFile(FromUtf8(path.string()), script)) {
      std::printf("FAIL %s: cannot load\n", path.filename().string().c_str());
      ++failed;
      continue;
    }
    ApplyEnvLine(script);
    RecordingDialogs dialogs(RecordingDialogs::AnswersOf(expected));
    EZunScriptEngine engine;
    engine.SetDialogs(&dialogs);
    engine.SetBuiltinLookup(FindBuiltin);
    engine.Initialize();
    engine.SetScript(script);
    engine.Run();
    std::string want;
    for (const auto& e : expected) want += FormatEntry(e) + "\n";
    std::string got = dialogs.Transcript();
    if (update && got != want) {
      std::ofstream(expectedPath, std::ios::binary) << got;
      std::printf("updated %s\n", expectedPath.filename().string().c_str());
      want = got;
    }
    if (got == want) {
      ++passed;
      std::printf("ok   %s\n", path.filename().string().c_str());
    } else {
      ++failed;
      std::printf("FAIL %s\n--- expected\n%s--- got\n%s---\n", path.filename().string().c_str(), want.c_str(), got.c_str());
    }
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 && passed > 0 ? 0 : 1;
}
