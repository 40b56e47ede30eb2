#include "tests/support/script_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

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

std::string Shows(const std::string& script) {
  EZunScriptEngine engine;
  return Shows(engine, script);
}

std::string Shows(EZunScriptEngine& engine, const std::string& script) {
  RecordingDialogs d;
  auto run = RunScript(engine, script, d);
  std::string out;
  for (const auto& t : d.BoxTexts()) {
    if (run.error && t.rfind("(pos ", 0) == 0) break;
    out += (out.empty() ? "" : "|") + t;
  }
  if (run.error) {
    std::string first = run.errors.substr(0, run.errors.find(", code snippet:"));
    first = first.substr(first.find(" : ") + 3);
    out += (out.empty() ? "ERR:" : "|ERR:") + first;
  }
  return out;
}

void SetEnv(const std::string& name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name.c_str(), value.c_str());
  _tzset();
#else
  setenv(name.c_str(), value.c_str(), 1);
  tzset();
#endif
}

void UnsetEnv(const std::string& name) {
#ifdef _WIN32
  _putenv_s(name.c_str(), "");
  _tzset();
#else
  unsetenv(name.c_str());
  tzset();
#endif
}

void Check(const std::vector<Case>& cases) {
  for (const auto& c : cases) EXPECT_EQ(Shows(c.script), c.expected) << c.script;
}

}  // namespace zun::golden
