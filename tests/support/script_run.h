// Running scripts in tests.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

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

// The texts a script showed, joined by "|"; after an error, "ERR:" and the
// first error message without its position and snippet.
std::string Shows(const std::string& script);
// The same in an engine the caller keeps, to look at its state afterwards.
std::string Shows(EZunScriptEngine& engine, const std::string& script);

// What `zunrunc --check` finds in a script: "ok", or "ERR:" and the first
// error message with " @line:column".
std::string ChecksAs(const std::string& script);

// Sets NAME=VALUE assignments in this process's environment while it
// lives, then restores what was there (TZ is re-read both times).
class ScopedEnv {
 public:
  explicit ScopedEnv(const std::vector<std::string>& assignments);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  struct Saved {
    std::string name, value;
    bool had;
  };
  std::vector<Saved> saved_;
};

// An empty folder for the running test under the system's temporary
// folder; tests write nowhere else. RemoveTestFolder removes it, read-only
// files included.
std::filesystem::path FreshTestFolder();
void RemoveTestFolder(const std::filesystem::path& folder);

// Runs fn on a thread of its own with a stack of that many bytes, as the
// runner's worker has (the main thread's is larger).
void RunOnStack(size_t stackBytes, const std::function<void()>& fn);

}  // namespace zun::golden
