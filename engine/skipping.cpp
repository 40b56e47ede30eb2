// Skipping code that does not run, and checking a script's structure.
//
// A statement that is skipped is read the way running it would read it, so
// that running and skipping end at the same token: an else binds to the
// nearest if whichever branch ran, and a skipped loop or nested if is passed
// over whole. Nothing is evaluated; tokens are real, so a lexical error in
// skipped code is still reported where it stands. The same reading with
// `bCheckMode` set is `zunrunc --check`: it reports the first place a run
// would fail on the script's structure.
#include "engine/engine.h"

namespace zun {

namespace {

// What the readings below return when they stopped: an error was reported.
constexpr bool kStop = false;

}  // namespace

// A place where a run would report `message`: a check reports it and stops;
// skipping ends the statement there, as the run would, and goes on.
bool EZunScriptEngine::SkipFailed(const u16& message) {
  if (IsError()) return kStop;
  if (!bCheckMode) return true;
  ReportError(message);
  return kStop;
}

bool EZunScriptEngine::SkipOptional(EOperator op) {
  int32_t save = cursor.pos;
  const ELexedToken& t = Lex();
  if (IsError()) return kStop;
  if (!t.Is(op)) cursor.pos = save;
  return true;
}

void EZunScriptEngine::OmitNextStatementOrScope() {
  Trace("OmitNextStatementOrScope()");
  if (IsError()) {
    // Unwinding after an error reads on as it always has, so that the
    // reports that follow an error stay what they were.
    OmitTokensAfterError();
    return;
  }
  int32_t start = cursor.pos;
  auto known = skipped.find(start);
  if (known != skipped.end()) {
    cursor.pos = known->second.end;
    if (known->second.closedBrace) bClosedBrace = true;
    return;
  }
  bool closed = false;
  bool ok = SkipExpression(1, closed);
  if (closed) bClosedBrace = true;
  if (ok && !IsError()) skipped[start] = {cursor.pos, closed};
}

void EZunScriptEngine::OmitTokensAfterError() {
  if (Lex().Is(OP_OPEN_BRACE)) {
    OmitScope();
    return;
  }
  Trace("OmitNextStatementOrScope: no scope, just one statement, searching for ;");
  while (!IsFinished()) {
    if (Lex().Is(OP_SEMICOLON)) break;
  }
}

void EZunScriptEngine::OmitScope() {
  NestingGuard nesting(*this);
  if (!nesting.ok()) return;
  Trace("ommiting scope");
  for (;;) {
    const ELexedToken& t = Lex();
    // SETK_END also stands for an unterminated comment, which leaves the
    // cursor where it was: stop there too instead of reading it again.
    if (t.kind == SETK_END) return;
    if (t.Is(OP_OPEN_BRACE)) OmitScope();
    else if (t.Is(OP_CLOSE_BRACE)) return;
  }
}

// What EvaluateExpression(minLevel) reads. `closed` is set when the
// expression consumed a '}' that ends the block around it. False when the
// reading stopped at an error (a lexical one, or any in a check).
bool EZunScriptEngine::SkipExpression(int minLevel, bool& closed) {
  NestingGuard nesting(*this);
  if (!nesting.ok()) return kStop;
  const ELexedToken& first = Lex();
  if (IsError()) return kStop;
  switch (first.kind) {
    case SETK_OPERATOR: {
      EOperator op = first.op;
      if (op == OP_SEMICOLON || op == OP_CLOSE_BRACE || op == OP_COMMA) {
        if (op == OP_CLOSE_BRACE) closed = true;
        return true;
      }
      const EOperatorInfo& info = OperatorInfo(op);
      if (info.unaryLevel) return SkipExpression(info.unaryLevel, closed);
      if (op == OP_OPEN_PAREN) {
        if (!SkipExpression(1, closed) || !Lex().Is(OP_CLOSE_PAREN)) return SkipFailed(u") Expected");
      } else if (op == OP_OPEN_BRACE) {
        return SkipBlock(cursor.pos - 1);
      } else if (info.needsLeftValue) {
        return SkipFailed(u16(info.text) + u" not expected here, no lvalue");
      }
      break;
    }
    case SETK_VAR:
      if (!SkipIndex(closed)) return kStop;
      break;
    case SETK_WORD:
      if (first.keyword == KW_VAR) {
        if (!SkipDeclaration()) return kStop;
        break;
      }
      if (first.keyword == KW_IF || first.keyword == KW_REPEAT || first.keyword == KW_BREAK)
        return SkipKeyword(first.keyword, closed);
      if (IsConstantWord(first)) break;
      // A run calls `else` as a function; a check names the mistake.
      if (first.keyword == KW_ELSE && bCheckMode) return SkipFailed(u"else without if");
      if (!SkipCall(first, closed)) return kStop;
      break;
    default:
      break;
  }
  for (;;) {
    int32_t opStart = cursor.pos;
    const ELexedToken& token = Lex();
    if (IsError()) return kStop;
    if (token.kind == SETK_END) return true;
    if (token.kind != SETK_OPERATOR) return SkipFailed(u"something's wrong, some operator expected");
    EOperator op = token.op;
    if (op == OP_SEMICOLON || op == OP_CLOSE_BRACE) {
      if (op == OP_CLOSE_BRACE) closed = true;
      return true;
    }
    const EOperatorInfo& info = OperatorInfo(op);
    if (info.level == 0 || info.level < minLevel) {
      cursor.pos = opStart;
      return true;
    }
    if (!SkipExpression(info.rightLevel, closed)) return kStop;
    char16_t before = cursor.At(cursor.pos - 1);
    if (before == u';' || before == u'}' || before == u',') return true;
  }
}

// The statements of a block whose '{' has been read, up to the statement
// that consumes its closing brace (what ExecuteScope runs).
bool EZunScriptEngine::SkipBlock(int32_t openPos) {
  NestingGuard nesting(*this);
  if (!nesting.ok()) return kStop;
  Trace("ommiting scope");
  for (;;) {
    bool closed = false;
    if (!SkipExpression(1, closed)) return kStop;
    if (closed) return true;
    if (IsAtEnd()) {
      int line = 0, column = 0;
      LineAndColumn(strScript, openPos, line, column);
      // A run ends such a block at the end of the text; only a check says so.
      return SkipFailed(u"} expected for the { at line " + Int64ToString(line) + u", column " + Int64ToString(column));
    }
  }
}

bool EZunScriptEngine::SkipKeyword(EKeyword keyword, bool& closed) {
  switch (keyword) {
    case KW_IF: {
      // Without '(' a run reports the error and reads the condition anyway.
      if (!Lex().Is(OP_OPEN_PAREN) && (IsError() || bCheckMode)) return SkipFailed(u"#0 ( expected");
      if (!SkipExpression(1, closed)) return kStop;
      if (!Lex().Is(OP_CLOSE_PAREN)) return SkipFailed(u") expected");
      if (!SkipExpression(1, closed)) return kStop;
      int32_t save = cursor.pos;
      const ELexedToken& next = Lex();
      if (IsError()) return kStop;
      if (next.kind == SETK_WORD && next.keyword == KW_ELSE) return SkipExpression(1, closed);
      cursor.pos = save;
      return true;
    }
    case KW_REPEAT:
      if (!Lex().Is(OP_OPEN_BRACE)) return SkipFailed(u"#1 { expected");
      // The body is a block of its own: a '}' it consumes is its own.
      if (!SkipBlock(cursor.pos - 1)) return kStop;
      return SkipOptional(OP_SEMICOLON);
    case KW_BREAK:
      return SkipOptional(OP_SEMICOLON);
    default:
      return true;
  }
}

// `$name` and, when '[' follows, its index.
bool EZunScriptEngine::SkipIndex(bool& closed) {
  int32_t save = cursor.pos;
  if (!Lex().Is(OP_OPEN_BRACKET)) {
    cursor.pos = save;
    return !IsError();
  }
  if (!SkipExpression(1, closed)) return kStop;
  if (!Lex().Is(OP_CLOSE_BRACKET)) return SkipFailed(u"] expected");
  return true;
}

// `var $name` or `var $name[...]`: the array form moves to the next ']',
// which stays unread, as the declaration does.
bool EZunScriptEngine::SkipDeclaration() {
  if (Lex().kind != SETK_VAR) return SkipFailed(u"Variable name expected");
  int32_t bracketStart = cursor.pos;
  bool isArray = Lex().text == u"[";
  if (IsError()) return kStop;
  if (isArray) cursor.FindChar(u']');
  else cursor.pos = bracketStart;
  return true;
}

// `name(arguments)` after the name; the argument rule is the call's own: a
// ',' or ')' must follow an argument right at the cursor.
bool EZunScriptEngine::SkipCall(const ELexedToken& word, bool& closed) {
  // Taken before reading on: the word may be a token that lives only until
  // the next read.
  u16 name = word.text;
  if (!Lex().Is(OP_OPEN_PAREN)) return SkipFailed(u"#4 ( expected");
  int32_t save = cursor.pos;
  if (!Lex().Is(OP_CLOSE_PAREN)) {
    cursor.pos = save;
    for (;;) {
      if (!SkipExpression(1, closed)) return kStop;
      if (IsAtEnd()) return SkipFailed(u") expected");
      char16_t next = cursor.Current();
      if (next == u',') {
        Lex();
        continue;
      }
      if (next == u')') {
        Lex();
        break;
      }
      return SkipFailed(u") expected");
    }
  }
  if (bCheckMode && !(pBuiltinLookup && pBuiltinLookup(name))) return SkipFailed(u"'" + name + u"' function not found");
  return !IsError();
}

bool EZunScriptEngine::IsConstantWord(const ELexedToken& word) {
  if (word.constantGeneration != constants.GetGeneration()) {
    word.constant = constants.Find(word.text);
    word.constantGeneration = constants.GetGeneration();
  }
  return word.constant != nullptr;
}

bool EZunScriptEngine::CheckScript() {
  strErrors.clear();
  bError = false;
  cursor.pos = 0;
  tokenCache.Clear();
  skipped.clear();
  bCheckMode = true;
  while (!IsFinished()) {
    bool closed = false;  // a '}' at the top level is an empty statement
    if (!SkipExpression(1, closed)) break;
  }
  bCheckMode = false;
  return !bError;
}

}  // namespace zun
