// `zunrunc --list`: the names the language knows, for editors and tools.
#pragma once

#include "text/text.h"

namespace zun {

// One line per name, fields separated by tabs:
//   builtin   NAME  CATEGORY
//   constant  NAME  VALUE  GROUP      (VALUE as a script would write it)
//   keyword   NAME
//   operator  SPELLING
u16 ListNames();

}  // namespace zun
