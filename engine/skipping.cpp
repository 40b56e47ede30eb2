// Skipping code that does not run, and checking a script's structure.
//
// A statement that is skipped is passed over the way running it would read
// it (the compiler's reading), so that running and skipping end at the same
// token: an else binds to the nearest if whichever branch ran, and a skipped
// loop or nested if is passed over whole. Nothing is evaluated; a statement
// that holds a lexical error is read token by token, so the error is still
// reported where it stands.
#include "engine/compiler.h"
#include "engine/engine.h"

namespace zun {

void EZunScriptEngine::OmitNextStatementOrScope() {
  Trace("OmitNextStatementOrScope()");
  if (IsError()) {
    // Unwinding after an error reads on as it always has, so that the
    // reports that follow an error stay what they were.
    OmitTokensAfterError();
    return;
  }
  if (ENode* statement = StatementAt(cursor.pos)) {
    cursor.pos = statement->end;
    if (statement->closes) bClosedBrace = true;
    return;
  }
  // A statement that cannot be compiled: read again as a run would read it,
  // which reports a lexical error where it stands.
  int32_t start = cursor.pos;
  ECompiledCode scratch;
  ECompiler reading(*this, scratch, ECompiler::kSkip);
  ENode* read = reading.Statement();
  if (read && read->closes) bClosedBrace = true;
  if (!reading.Broken()) return;
  // Where a run would fail on the structure there is no statement to pass
  // over exactly; the skip goes by the brackets, so that a broken branch is
  // still skipped whole.
  cursor.pos = start;
  OmitBalanced();
}

void EZunScriptEngine::OmitBalanced() {
  int depth = 0;
  for (;;) {
    const ELexedToken& t = Lex();
    if (IsError() || t.kind == SETK_END) return;
    if (t.Is(OP_OPEN_PAREN) || t.Is(OP_OPEN_BRACKET) || t.Is(OP_OPEN_BRACE)) {
      ++depth;
    } else if (t.Is(OP_CLOSE_PAREN) || t.Is(OP_CLOSE_BRACKET) || t.Is(OP_CLOSE_BRACE)) {
      if (depth == 0 && t.Is(OP_CLOSE_BRACE)) {  // the end of the block around it
        bClosedBrace = true;
        return;
      }
      if (depth > 0 && --depth == 0 && t.Is(OP_CLOSE_BRACE)) return;  // a block's end
    } else if (depth == 0 && t.Is(OP_SEMICOLON)) {
      return;
    }
  }
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

bool EZunScriptEngine::CheckScript() {
  strErrors.clear();
  errorReports.clear();
  bError = false;
  cursor.pos = 0;
  tokenCache.Clear();
  code.Clear();
  ECompiledCode scratch;
  ECompiler check(*this, scratch, ECompiler::kCheck);
  // A '}' at the top level is an empty statement.
  while (!IsFinished() && check.Statement()) {}
  return !bError;
}

}  // namespace zun
