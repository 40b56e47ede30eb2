// The built-in library: the function of each name scripts call.
#pragma once

#include "engine/call_context.h"

namespace zun {

// The built-in registered under an exact (case-sensitive) name, or null.
// Hosts install it on the engine (SetBuiltinLookup).
BuiltinFn FindBuiltin(const u16& name);
// The common case of that built-in, which the executor runs without a
// call's context, or null (installed beside it: SetBuiltinLookup).
IntrinsicFn FindIntrinsic(const u16& name);
// The families the library's documentation groups the built-ins in.
enum EBuiltinCategory {
  BC_COMMON,
  BC_INTERNAL,
  BC_ARRAYS,
  BC_MATH,
  BC_STRINGS,
  BC_TIME,
  BC_INPUT,
  BC_FILES,
  BC_SYSTEM,
  BC_WINDOWS,
  BC_COUNT
};

// Every name the table knows, in table order, with its family.
int BuiltinCount();
const char16_t* BuiltinName(int index);
EBuiltinCategory BuiltinCategoryOf(int index);
const char16_t* BuiltinCategoryName(EBuiltinCategory category);

}  // namespace zun
