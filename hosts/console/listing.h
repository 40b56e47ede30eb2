// `zunrunc --list`: the names the language knows, for editors and tools.
#pragma once

#include "text/text.h"

namespace zun {

struct EScriptConstant;

// One line per name, fields separated by tabs:
//   builtin   NAME  CATEGORY
//   constant  NAME  VALUE  GROUP      (VALUE as a script would write it)
//   keyword   NAME
//   operator  SPELLING
u16 ListNames();

// A constant's value as a script would write it: 4, 3.14159265358979, "\r\n".
u16 ConstantLiteral(const EScriptConstant& c);

// The keywords and word operators, as the manual names them.
extern const char16_t* const kKeywordNames[8];

}  // namespace zun
