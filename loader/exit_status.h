// What a host's exit status tells a batch file or a scheduled task.
#pragma once

namespace zun {

enum ExitStatus : int {
  kRanClean = 0,     // the script ran to its end without an error
  kScriptError = 1,  // the script reported an error (or was stopped)
  kNothingRan = 2,   // no script: none given, too many, or it could not be loaded
  kTimedOut = 3,     // zunrunc --timeout: the run took longer and was ended
};

}  // namespace zun
