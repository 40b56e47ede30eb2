// Runs every tests/scripts/NAME.zunscript through the recording dialogs and
// compares what it shows with NAME.transcript.
//
// A script's first line may set environment variables for its run:
//   // env: TZ=CET-1
#include <cstdio>
#include <fstream>

#include "loader/text_file.h"
#include "builtins/table.h"
#include "tests/support/script_run.h"

namespace fs = std::filesystem;
using namespace zun;
using namespace zun::golden;

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
  int passed = 0, failed = 0;
  for (const fs::path& path : GoldenScripts(argv[1])) {
    if (argc > 2 && path.stem().string() != argv[2]) continue;
    fs::path expectedPath = fs::path(path).replace_extension(".transcript");
    std::vector<Entry> expected = ParseTranscript(ReadBytes(expectedPath));
    u16 script;
    if (!LoadTextFile(FromUtf8(path.string()), script)) {
      std::printf("FAIL %s: cannot load\n", path.filename().string().c_str());
      ++failed;
      continue;
    }
    ScopedEnv env(EnvOf(ToUtf8(script)));
    RecordingDialogs dialogs(RecordingDialogs::AnswersOf(expected));
    EZunScriptEngine engine;
    engine.SetDialogs(&dialogs);
    engine.SetBuiltinLookup(FindBuiltin);
    engine.Initialize();
    engine.SetScript(script);
    engine.Run();
    std::string want = FormatTranscript(expected);
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
