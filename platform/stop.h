// Requests from outside a script to end its run: Ctrl+C or a termination
// signal in a terminal, a host's time-out. The engine's pause check sees
// them at its next look, and long waits and writes look too.
#pragma once

#include <atomic>

#include "text/text.h"

namespace zun::platform {

void RequestStop();
void ClearStop();
// Inline: a script's loop looks on every pass. Lock-free, so that the
// interrupt handlers may set it.
extern std::atomic<bool> g_stopRequested;
inline bool StopRequested() { return g_stopRequested.load(); }

// Ctrl+C (and on POSIX SIGTERM and SIGHUP) request the stop. Should the run
// not have ended when the third arrives, the process ends at once, as
// ExitNow does with status 1.
void StopOnInterrupts();
// What the interrupt handlers do (safe in a signal handler).
void Interrupted();

// Ends the process now with `code`: removes the temporary file of a write in
// progress, writes `message` to standard error. Safe in a signal handler.
[[noreturn]] void ExitNow(int code, const char* message);

// Marks the temporary file of a write in progress for ExitNow, for as long
// as it lives. Writes happen one at a time, so one mark is kept.
#ifdef _WIN32
using SystemPathChar = wchar_t;
#else
using SystemPathChar = char;
#endif
class TemporaryFileMark {
 public:
  explicit TemporaryFileMark(const SystemPathChar* path);
  TemporaryFileMark(const TemporaryFileMark&) = delete;
  TemporaryFileMark& operator=(const TemporaryFileMark&) = delete;
  ~TemporaryFileMark();
};

}  // namespace zun::platform
