// Operating-system services the engine itself needs.
#pragma once

#include <cstdint>

#include "platform/stop.h"
#include "text/text.h"

namespace zun::platform {

// True while both Pause and Control are held (asynchronous key state).
#ifdef _WIN32
bool IsPauseAndControlHeld();
#else
// There is no global key state without a Windows desktop: a request to stop
// (Ctrl+C, a signal, a time-out) stands in for Ctrl+Pause. Inline: a
// script's loop looks on every pass.
inline bool IsPauseAndControlHeld() { return StopRequested(); }
#endif
// The process's current directory; "" when it does not fit maxUnits.
u16 CurrentDirectory(size_t maxUnits);
bool ChangeCurrentDirectory(const u16& path);
void SleepMilliseconds(uint32_t ms);

}  // namespace zun::platform
