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
};

ProcessResult RunProcess(const std::string& exe, const std::vector<std::string>& args, const std::string& input,
                         int timeoutMs = 60000);

}  // namespace zun::golden
