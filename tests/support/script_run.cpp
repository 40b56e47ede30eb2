#include "tests/support/script_run.h"

namespace zun::golden {

ScriptRun RunScript(EZunScriptEngine& engine, const std::string& script, RecordingDialogs& dialogs) {
  engine.SetDialogs(&dialogs);
  engine.Initialize();
  engine.SetScript(FromUtf8(script));
  ScriptRun run;
  run.result = engine.Run();
  run.error = engine.IsError();
  run.errors = ToUtf8(engine.strErrors);
  return run;
}

ScriptRun RunScript(const std::string& script, RecordingDialogs& dialogs) {
  EZunScriptEngine engine;
  return RunScript(engine, script, dialogs);
}

}  // namespace zun::golden
