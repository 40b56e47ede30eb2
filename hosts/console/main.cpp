// zunrunc: runs one ZUN Script from a terminal. Script output goes to
// standard output, the engine's error boxes to standard error, and the
// questions a script asks are answered on standard input.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <new>
#include <string>
#include <thread>

#include "builtins/table.h"
#include "engine/engine.h"
#include "hosts/console/console_dialogs.h"
#include "hosts/console/help.h"
#include "hosts/console/listing.h"
#include "loader/command_line.h"
#include "loader/exit_status.h"
#include "loader/text_file.h"
#include "platform/arguments.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/stop.h"
#include "zun_version.h"

namespace zun {
namespace {

const char16_t kUsage[] =
    u"Usage: zunrunc [options] SCRIPT [/del] [-- ARGUMENTS...]\n"
    u"       zunrunc [options] - [-- ARGUMENTS...]   (the script from standard input)\n"
    u"Runs one ZUN Script file and ends when the script ends.\n"
    u"\n"
    u"  /del              delete the script file after the run\n"
    u"  -- ARGUMENTS...   hand the rest of the line to the script: $_FILES holds\n"
    u"                    them as an array, $_PARAMS as one text; $_SCRIPT_PATH\n"
    u"                    is the script's full path, $_CALLER_NAME \"zunrunc\"\n"
    u"  --check           only read the script and report its first lexical or\n"
    u"                    structural error as one line on standard error\n"
    u"  --timeout SECONDS end the run when it takes longer\n"
    u"  --list            list the built-ins, constants, keywords and operators\n"
    u"                    (one per line, fields separated by tabs; for editors)\n"
    u"  --help            show this text\n"
    u"  --help NAME       show the manual's entry for a built-in, constant or\n"
    u"                    keyword (exit status 2 when it has none)\n"
    u"  --version         show the version\n"
    u"\n"
    u"Exit status: 0 the script ran to its end, 1 it reported an error (or was\n"
    u"stopped, or its output could not be written), 2 nothing ran (no script, too\n"
    u"many, or one that could not be loaded), 3 the time-out ended the run.\n";

void Err(const u16& text) { platform::WriteText(platform::Stream::Err, text); }

int NothingRan(const u16& why) {
  Err(why + u"\n" + kUsage);
  return kNothingRan;
}

// Ends a run that takes longer than its time: first as Ctrl+Pause would, at
// the run's next look; should the run not end within a grace period after
// that, the process ends at once.
class TimeOut {
 public:
  TimeOut(double seconds, std::string message) : strMessage(std::move(message)) {
    if (seconds <= 0) return;
    watcher = std::thread([this, seconds] {
      std::unique_lock<std::mutex> lock(stateMutex);
      auto limit = std::chrono::duration<double>(seconds);
      if (endSignal.wait_for(lock, limit, [this] { return bRunEnded; })) return;
      bExpired = true;
      platform::RequestStop();
      if (!endSignal.wait_for(lock, std::chrono::seconds(kGraceSeconds), [this] { return bRunEnded; }))
        platform::ExitNow(kTimedOut, strMessage.c_str());
    });
  }
  ~TimeOut() { RunEnded(); }
  void RunEnded() {
    {
      std::lock_guard<std::mutex> lock(stateMutex);
      bRunEnded = true;
    }
    endSignal.notify_all();
    if (watcher.joinable()) watcher.join();
  }
  bool Expired() const { return bExpired; }

 private:
  static constexpr int kGraceSeconds = 2;
  std::string strMessage;
  std::mutex stateMutex;
  std::condition_variable endSignal;
  bool bRunEnded = false;
  bool bExpired = false;
  std::thread watcher;
};

// "--timeout 5", "--timeout=5" or "--timeout 2.5": seconds above 0.
bool ReadSeconds(const u16& text, double& seconds) {
  std::string ascii = ToUtf8(text);
  char* end = nullptr;
  seconds = std::strtod(ascii.c_str(), &end);
  return !ascii.empty() && end && *end == '\0' && seconds > 0 && seconds < 1e9;
}

int Main(int argc, char** argv) {
  std::vector<u16> args = platform::ProgramArguments(argc, argv);
  std::vector<u16> rest, scriptArgs;
  bool checkOnly = false, fromInput = false;
  double timeoutSeconds = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const u16& a = args[i];
    if (a == u"--") {  // the rest belongs to the script
      scriptArgs.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
      break;
    }
    if (a == u"--help") {
      if (i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] != u'-') return ShowHelp(args[i + 1]);
      platform::WriteText(platform::Stream::Out, kUsage);
      return kRanClean;
    }
    if (a == u"--list") {
      platform::WriteText(platform::Stream::Out, ListNames());
      return kRanClean;
    }
    if (a == u"--version") {
      platform::WriteText(platform::Stream::Out, u"zunrunc " ZUN_VERSION " (ZUN Script 1.3)\n");
      return kRanClean;
    }
    if (a == u"--timeout" || a.rfind(u"--timeout=", 0) == 0) {
      u16 value = a.size() > 9 ? a.substr(10) : (i + 1 < args.size() ? args[++i] : u16());
      if (!ReadSeconds(value, timeoutSeconds)) return NothingRan(u"--timeout needs a number of seconds above 0");
    } else if (a == u"--check") {
      checkOnly = true;
    } else if (a == u"-") {
      fromInput = true;  // not a switch: the script itself
    } else if (a.size() > 2 && a[0] == u'-' && a[1] == u'-') {
      return NothingRan(u"Unknown option: " + a);
    } else {
      rest.push_back(a);
    }
  }
  CZunRunCommandLineInfo info;
#ifdef _WIN32
  ParseCommandLine(info, rest);
#else
  // Paths start with "/" here: only "-" makes a switch, and "/del" is taken
  // as the runner's switch.
  for (u16& a : rest)
    if (CollateNoCase(a, u"/del") == 0) a = u"-del";
  ParseCommandLine(info, rest, u"-");
#endif
  size_t scripts = info.files.size() + (fromInput ? 1 : 0);
  if (scripts == 0) return NothingRan(u"No script file passed");
  if (scripts > 1) return NothingRan(u"Too many script files passed");
  u16 path = fromInput ? u16(u"-") : info.files.front();
  u16 script;
  if (fromInput) {
    CByteBuffer bytes;
    if (!ReadInputToBuffer(bytes, kMaxTextFileBytes) || !DecodeScript(bytes, script))
      return NothingRan(u"Error\nCould not read the script from standard input");
  } else if (!LoadScriptFile(path, script)) {
    return NothingRan(u"Error\nCould not load file:" + path);
  }

  EZunScriptEngine engine;
  engine.strCallerName = u"zunrunc";
  engine.strCallerExePath = platform::ProgramPath();
  engine.strScriptPath = fromInput ? u16() : platform::FullPathOf(path);
  engine.strScriptCmdLine = JoinCommandLine(scriptArgs);
  for (const u16& a : scriptArgs) engine.files.Add(a);
  ConsoleDialogs dialogs;
  engine.SetDialogs(&dialogs);
  engine.SetBuiltinLookup(FindBuiltin, FindIntrinsic);
  engine.Initialize();
  engine.SetScript(script);
  if (checkOnly) return engine.CheckScript() ? kRanClean : kScriptError;
  // Ctrl+C and termination signals stand in for Ctrl+Pause: the running
  // loop ends with its usual error.
  platform::StopOnInterrupts();
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%g", timeoutSeconds);
  std::string timedOut = std::string("zunrunc: the script ran longer than ") + seconds + " s and was ended\n";
  TimeOut timeOut(timeoutSeconds, timedOut);
  engine.Run();
  timeOut.RunEnded();
  if (info.IsSwitchTrue(u"del") && !fromInput) platform::DeleteFilePath(path);
  u16 outputError = platform::StreamError(platform::Stream::Out);
  if (!outputError.empty()) Err(u"zunrunc: could not write to standard output: " + outputError + u"\n");
  if (timeOut.Expired()) {
    Err(FromUtf8(timedOut));
    return kTimedOut;
  }
  return engine.IsError() || !outputError.empty() ? kScriptError : kRanClean;
}

}  // namespace
}  // namespace zun

int main(int argc, char** argv) {
  zun::platform::PrepareStandardStreams();
  try {
    return zun::Main(argc, argv);
  } catch (const std::bad_alloc&) {
    // What a run could not report itself (the engine reports what runs out
    // during a statement).
    zun::platform::ExitNow(zun::kScriptError, "zunrunc: out of memory\n");
  }
}
