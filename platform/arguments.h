// How a Windows command line splits into arguments (portable: zunrunc on
// Windows and the runner read their arguments this way, and it is tested
// natively).
#pragma once

#include <vector>

#include "text/text.h"

namespace zun {

// Splits a command line the way the C runtime does: blanks separate, double
// quotes group (and are removed), backslashes escape quotes only before a
// quote. The first argument (the program) is not returned when skipProgram.
std::vector<u16> SplitCommandLine(const u16& commandLine, bool skipProgram = true);
// The command line that splits back into exactly these arguments: an
// argument that is empty or holds a blank or a double quote is quoted, with
// its quotes and the backslashes before them escaped.
u16 JoinCommandLine(const std::vector<u16>& args);

}  // namespace zun
