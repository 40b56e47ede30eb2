// zunrunc: runs one ZUN Script from a terminal. Script output goes to
// standard output, the engine's error boxes to standard error, and the
// questions a script asks are answered on standard input.
#include <new>

#include "engine/engine.h"
#include "builtins/table.h"
#include "hosts/console/console_dialogs.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/stop.h"
#include "loader/command_line.h"
#include "loader/text_file.h"

namespace zun {

enum ExitStatus { kRanClean = 0, kScriptError = 1, kNothingRan = 2 };

namespace {

const char16_t kUsage[] =
    u"Usage: zunrunc [options] SCRIPT [/del]\n"
    u"Runs one ZUN Script file and ends when the script ends.\n"
    u"\n"
    u"  /del        delete the script file after the run\n"
    u"  --check     only read the script to its end and report lexical errors\n"
    u"  --help      show this text\n"
    u"  --version   show the version\n";

void Err(const u16& text) { platform::WriteText(platform::Stream::Err, text); }

int NothingRan(const u16& why) {
  Err(why + u"\n" + kUsage);
  return kNothingRan;
}

int Main(int argc, char** argv) {
  std::vector<u16> args = platform::ProgramArguments(argc, argv);
  std::vector<u16> rest;
  bool checkOnly = false;
  for (const u16& a : args) {
    if (a == u"--help") {
      platform::WriteText(platform::Stream::Out, kUsage);
      return kRanClean;
    }
    if (a == u"--version") {
      platform::WriteText(platform::Stream::Out, u"zunrunc 1.0 (ZUN Script 1.3)\n");
      return kRanClean;
    }
    if (a == u"--check") checkOnly = true;
    else if (a.size() > 2 && a[0] == u'-' && a[1] == u'-') return NothingRan(u"Unknown option: " + a);
    else rest.push_back(a);
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
  if (info.files.empty()) return NothingRan(u"No script file passed");
  if (info.files.size() > 1) return NothingRan(u"Too many script files passed");
  const u16& path = info.files.front();
  u16 script;
  if (!LoadTextFile(path, script)) return NothingRan(u"Error\nCould not load file:" + path);

  EZunScriptEngine engine;
  ConsoleDialogs dialogs(&engine.strScript);
  engine.SetDialogs(&dialogs);
  engine.SetBuiltinLookup(FindBuiltin);
  engine.Initialize();
  engine.SetScript(script);
  if (checkOnly) return engine.CheckScript() ? kRanClean : kScriptError;
  // Ctrl+C and termination signals stand in for Ctrl+Pause: the running
  // loop ends with its usual error.
  platform::StopOnInterrupts();
  engine.Run();
  if (info.IsSwitchTrue(u"del")) platform::DeleteFilePath(path);
  u16 outputError = platform::StreamError(platform::Stream::Out);
  if (!outputError.empty()) {
    Err(u"zunrunc: could not write to standard output: " + outputError + u"\n");
    return kScriptError;
  }
  return engine.IsError() ? kScriptError : kRanClean;
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
