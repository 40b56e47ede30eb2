// Operating-system services the engine itself needs.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace zun::platform {

// True while both Pause and Control are held (asynchronous key state).
bool IsPauseAndControlHeld();
// The process's current directory; "" when it does not fit maxUnits.
u16 CurrentDirectory(size_t maxUnits);
bool ChangeCurrentDirectory(const u16& path);
void SleepMilliseconds(uint32_t ms);

}  // namespace zun::platform
