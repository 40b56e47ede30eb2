// Running scripts in tests.
#pragma once

#include <string>

#include "engine/engine.h"
#include "tests/support/recording_dialogs.h"

namespace zun::golden {

struct ScriptRun {
  EScriptValue result;
  bool error = false;
  std::string errors;  // the engine's accumulated error lines, UTF-8
};

// Runs a UTF-8 script text once in a fresh engine with the given dialogs.
ScriptRun RunScript(const std::string& script, RecordingDialogs& dialogs);
ScriptRun RunScript(EZunScriptEngine& engine, const std::string& script, RecordingDialogs& dialogs);

}  // namespace zun::golden
