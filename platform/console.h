// The standard streams and arguments of a console program.
#pragma once

#include <vector>

#include "text/text.h"

namespace zun::platform {

// The program's arguments after its name (UTF-16 on every platform).
std::vector<u16> ProgramArguments(int argc, char** argv);

// The full path of the running program's executable; "" when unknown.
u16 ProgramPath();

// Call first: a standard stream that is closed gets a stand-in, so that no
// file the program opens takes its place, and closed standard output counts
// as a write error. Writing to a closed pipe is an error, not a signal.
void PrepareStandardStreams();

enum class Stream { Out, Err };
// Writes text to a standard stream: UTF-8 on POSIX and on a UTF-8 console,
// otherwise in the console's code page (or as wide text to a real console).
// After the first failure the stream takes nothing more.
bool WriteText(Stream stream, const u16& text);
// Why writing to the stream failed; "" while it has not.
u16 StreamError(Stream stream);
// Reads one line from standard input without its line break; false at the
// end of input.
bool ReadLine(u16& line);
// Reads bytes from standard input: the count, 0 at its end, -1 on an error.
int ReadInput(void* buffer, int size);

}  // namespace zun::platform
