// The reading cursor, tokens and the text searches built on them.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "engine/operators.h"
#include "engine/shared_text.h"
#include "text/text.h"

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

// The statement words; the callers, not the lexer, give them their meaning.
enum EKeyword : int16_t { KW_NONE = 0, KW_VAR, KW_IF, KW_ELSE, KW_REPEAT, KW_BREAK };
EKeyword KeywordOf(u16view word);

class EScriptValue;
struct EScriptConstant;
struct EScriptCallContext;
struct EScriptObject;
// A built-in: reads its arguments, acts, and writes its result.
using BuiltinFn = void (*)(EScriptCallContext& ctx, EScriptValue& result, bool& bOk);
// A built-in's whole work when its arguments are of the kinds it expects
// (strlen of a string): the executor runs it on the arguments where they
// are, without a call's argument stack and context. False, having changed
// nothing, for anything else: the built-in itself then runs, and reports.
using IntrinsicFn = bool (*)(const EScriptValue* const* args, int count, EScriptValue& result);

// A token as the lexer read it at one position, with what the engine learns
// of it once instead of on every pass: where the read ended, the identity of
// an operator or keyword, a number literal's value, and (on first use) the
// constant or built-in a word names.
struct ELexedToken {
  int32_t kind = SETK_END;
  int32_t end = 0;         // the cursor position after the read
  EOperator op = OP_NONE;  // operators only: every other token keeps OP_NONE
  EKeyword keyword = KW_NONE;
  EText text;
  double number = 0.0;
  // Words: the constant found for this name, valid while the constants'
  // generation is unchanged; the built-in of this name once looked up.
  mutable uint32_t constantGeneration = 0;
  mutable const EScriptConstant* constant = nullptr;
  mutable bool builtinKnown = false;
  mutable BuiltinFn builtin = nullptr;

  // An operator token with this identity (o is never OP_NONE).
  bool Is(EOperator o) const { return op == o; }
};

// The tokens read so far, by the position each read started at. The script
// cannot change during a run, so the same position always yields the same
// token; tokens whose reading reported an error are never stored, so that
// the error is reported again, at the same position, each time the token
// is read.
class ETokenCache {
 public:
  // The hottest lookup of a run: one bounds test and two loads.
  const ELexedToken* Find(int32_t pos) const {
    size_t page = static_cast<size_t>(pos) >> kPageBits;
    if (page >= nPages) return nullptr;  // a negative pos is a huge page
    return pTable[page][static_cast<size_t>(pos) & kPageMask];
  }
  const ELexedToken& Store(int32_t pos, ELexedToken&& token);
  // One shared text per name, so that names compare by identity first.
  EText Intern(u16&& name);
  void Clear();

 private:
  static constexpr int kPageBits = 9;
  static constexpr size_t kPageMask = (size_t{1} << kPageBits) - 1;
  // The token read at each position, in pages allocated as tokens land in
  // them; the table lists every page up to the last one, with a shared page
  // of nothing where no token has landed.
  std::vector<std::unique_ptr<const ELexedToken*[]>> pages;
  std::vector<const ELexedToken**> table;
  const ELexedToken* const* const* pTable = nullptr;
  size_t nPages = 0;
  std::deque<ELexedToken> tokens;  // a deque: stored tokens never move
  std::unordered_map<u16, EText> names;
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
