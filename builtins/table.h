// The built-in library: the function of each name scripts call.
#pragma once

#include "engine/call_context.h"

namespace zun {

// The built-in registered under an exact (case-sensitive) name, or null.
// Hosts install it on the engine (SetBuiltinLookup).
BuiltinFn FindBuiltin(const u16& name);
// Every name the table knows, in table order.
int BuiltinCount();
const char16_t* BuiltinName(int index);

}  // namespace zun
