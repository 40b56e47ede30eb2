// Runs every tests/scripts/NAME.zunscript through the recording dialogs and
// compares what it shows with NAME.transcript.
//
// A script's first line may set environment variables for its run:
//   // env: TZ=CET-1
#include <cstdio>

#include "builtins/table.h"
#include "loader/text_file.h"
#include "tests/support/script_run.h"

using namespace zun;
using namespace zun::golden;

int main(int argc, char** argv) {
  // --update writes each transcript from the run.
  bool update = argc > 1 && std::string(argv[1]) == "--update";
  if (update) {
    --argc;
    ++argv;
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: zun_golden [--update] SCRIPTS_DIR [NAME]\n");
    return 2;
  }
  auto run = [](const std::filesystem::path& path, const std::vector<Entry>& expected, std::string& problem) {
    u16 script;
    if (!LoadScriptFile(FromUtf8(path.string()), script)) {
      problem = ": cannot load";
      return std::string();
    }
    ScopedEnv env(EnvOf(ToUtf8(script)));
    RecordingDialogs dialogs(RecordingDialogs::AnswersOf(expected));
    EZunScriptEngine engine;
    engine.SetDialogs(&dialogs);
    engine.SetBuiltinLookup(FindBuiltin, FindIntrinsic);
    engine.Initialize();
    engine.SetScript(script);
    engine.Run();
    return dialogs.Transcript();
  };
  return CheckGoldenScripts(argv[1], argc > 2 ? argv[2] : "", update, run);
}
