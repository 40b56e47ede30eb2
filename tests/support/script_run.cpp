// Running a script on a fresh engine with the recording dialogs.
#include "tests/support/script_run.h"
#include "builtins/table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include <pthread.h>  // MinGW's POSIX threads on Windows

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace zun::golden {

ScriptRun RunScript(EZunScriptEngine& engine, const std::string& script, RecordingDialogs& dialogs) {
  engine.SetDialogs(&dialogs);
  engine.SetBuiltinLookup(FindBuiltin, FindIntrinsic);
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

std::string ChecksAs(const std::string& script) {
  EZunScriptEngine engine;
  RecordingDialogs d;
  engine.SetDialogs(&d);
  engine.SetBuiltinLookup(FindBuiltin, FindIntrinsic);
  engine.Initialize();
  engine.SetScript(FromUtf8(script));
  if (engine.CheckScript()) return "ok";
  std::string line = ToUtf8(engine.strErrors);
  size_t posEnd = line.find(") : ");
  int32_t pos = std::atoi(line.c_str() + 5);  // "(pos N) : ..."
  std::string message = line.substr(posEnd + 4, line.find(", code snippet:") - posEnd - 4);
  int lineNo = 0, column = 0;
  EZunScriptEngine::LineAndColumn(engine.strScript, pos, lineNo, column);
  return "ERR:" + message + " @" + std::to_string(lineNo) + ":" + std::to_string(column);
}

namespace {

void SetEnv(const std::string& name, const std::string& value, bool set) {
#ifdef _WIN32
  _putenv_s(name.c_str(), set ? value.c_str() : "");
  _tzset();
#else
  if (set) setenv(name.c_str(), value.c_str(), 1);
  else unsetenv(name.c_str());
  tzset();
#endif
}

}  // namespace

ScopedEnv::ScopedEnv(const std::vector<std::string>& assignments) {
  for (const std::string& a : assignments) {
    std::string name = a.substr(0, a.find('='));
    const char* old = std::getenv(name.c_str());
    saved_.push_back({name, old ? old : "", old != nullptr});
    SetEnv(name, a.substr(a.find('=') + 1), true);
  }
}

ScopedEnv::~ScopedEnv() {
  for (const Saved& s : saved_) SetEnv(s.name, s.value, s.had);
}

std::filesystem::path FreshTestFolder() {
  namespace fs = std::filesystem;
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
#ifdef _WIN32
  unsigned long pid = GetCurrentProcessId();
#else
  unsigned long pid = static_cast<unsigned long>(getpid());
#endif
  fs::path folder = fs::temp_directory_path() /
                    ("zunrun-" + std::string(test->test_suite_name()) + "-" + test->name() + "-" + std::to_string(pid));
  RemoveTestFolder(folder);
  fs::create_directories(folder);
  return folder;
}

void RemoveTestFolder(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  for (const auto& entry : fs::recursive_directory_iterator(folder, ec))
    fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
  fs::remove_all(folder, ec);
}

void RunOnStack(size_t stackBytes, const std::function<void()>& fn) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, stackBytes);
  pthread_t thread;
  int started = pthread_create(
      &thread, &attr,
      [](void* arg) -> void* {
        (*static_cast<const std::function<void()>*>(arg))();
        return nullptr;
      },
      const_cast<std::function<void()>*>(&fn));
  pthread_attr_destroy(&attr);
  ASSERT_EQ(started, 0);
  pthread_join(thread, nullptr);
}

}  // namespace zun::golden
