// Functions of system libraries that most runs never call, looked up on
// first use: their library is loaded then, not at every start (a start
// under Wine pays for each library it loads).
#pragma once

#include <windows.h>

namespace zun {

// The function `name` of `library`, or null when it cannot be had.
template <class Function>
Function* LazyFunction(const wchar_t* library, const char* name) {
  HMODULE module = LoadLibraryW(library);
  return module ? reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Each use site keeps what it looked up: `ZUN_LAZY(ole32.dll, CoCreateGuid)`
// is CoCreateGuid, loaded the first time that line runs.
#define ZUN_LAZY(library, function)                                                               \
  ([]() -> decltype(&function) {                                                                  \
    static decltype(&function) found = LazyFunction<decltype(function)>(L## #library, #function); \
    return found;                                                                                 \
  }())

}  // namespace zun
