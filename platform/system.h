// Operating-system services the engine itself needs.
#pragma once

#include <cstdint>

#include "engine/text.h"

namespace zun::platform {

// True while both Pause and Control are held (asynchronous key state).
bool IsPauseAndControlHeld();
// The process's current directory; "" when it does not fit maxUnits.
u16 CurrentDirectory(size_t maxUnits);
bool ChangeCurrentDirectory(const u16& path);
void SleepMilliseconds(uint32_t ms);

}  // namespace zun::platform

#include <vector>

namespace zun::platform {

// The program's arguments after its name (UTF-16 on every platform).
std::vector<u16> ProgramArguments(int argc, char** argv);

enum class Stream { Out, Err };
// Writes text to a standard stream: UTF-8 on POSIX and on a UTF-8 console,
// otherwise in the console's code page (or as wide text to a real console).
void WriteText(Stream stream, const u16& text);
// Reads one line from standard input without its line break; false at the
// end of input.
bool ReadLine(u16& line);

}  // namespace zun::platform
