// Runs a program with standard input from a text and its standard output
// and error captured, for the console host's tests. Waits at most
// timeoutMs, then kills the program.
#pragma once

#include <string>
#include <vector>

namespace zun::golden {

struct ProcessResult {
  bool started = false;
  bool timedOut = false;
  int exitCode = -1;
  std::string out, err;
  int msFromSignalToExit = -1;
};

ProcessResult RunProcess(const std::string& exe, const std::vector<std::string>& args, const std::string& input,
                         int timeoutMs = 60000);

#ifdef _WIN32
// A Windows command line: the program and its arguments (UTF-8), each
// quoted where it holds a blank or a quote.
std::wstring CommandLine(const std::string& exe, const std::vector<std::string>& args);
#else
// What a POSIX test may change of the program's surroundings.
struct ProcessOptions {
  std::string input;
  int timeoutMs = 60000;
  std::string stdoutPath;           // "": captured; "-": closed; else that file
  size_t addressSpaceBytes = 0;     // 0: no limit
  std::vector<int> signals;         // sent one after the other...
  std::string signalWhenOutputHas;  // ...once standard output holds this text
};
ProcessResult RunProcess(const std::string& exe, const std::vector<std::string>& args, const ProcessOptions& options);
#endif

}  // namespace zun::golden
