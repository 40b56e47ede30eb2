// The reading cursor, tokens and the text searches built on them.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/text.h"

namespace zun {

enum : int32_t {
  SETK_END = 0,
  SETK_VAR = 1,
  SETK_NUMBER = 2,
  SETK_STRING = 3,
  SETK_WORD = 4,
  SETK_OPERATOR = 5,
};

struct EScriptToken {
  int32_t kind = SETK_END;
  u16 text;
  int32_t startPos = 0;  // before the whitespace that preceded the token

  bool IsOperator(u16view op) const { return kind == SETK_OPERATOR && text == op; }
};

class EScriptCursor {
 public:
  int32_t pos = 0;
  int32_t length = 0;
  bool notFound = false;
  const u16* text = nullptr;
  int32_t markPos = 0;

  void Set(const u16* t) {
    text = t;
    pos = 0;
    length = static_cast<int32_t>(t->size());
  }
  int32_t Size() const { return text ? static_cast<int32_t>(text->size()) : 0; }
  bool IsAtEnd() const { return pos > Size() - 1; }
  // The unit at pos; NUL at or past the end.
  char16_t Current() const { return pos >= 0 && pos < Size() ? (*text)[static_cast<size_t>(pos)] : u'\0'; }
  char16_t At(int32_t i) const { return i >= 0 && i < Size() ? (*text)[static_cast<size_t>(i)] : u'\0'; }
  bool Advance();
  void SkipWhitespace();
  void FindAnyOf(u16view set);
  void FindChar(char16_t c);
  void FindText(u16view needle, bool skipPast, bool ignoreCase);
};

std::optional<size_t> FindNoCase(u16view haystack, u16view needle);
int64_t FindInString(u16view str, u16view needle, bool ignoreCase, int64_t start);

}  // namespace zun
