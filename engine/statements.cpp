// The keyword statements and the skipping of code that does not run.
#include "engine/engine.h"
#include "platform/system.h"

namespace zun {

bool EZunScriptEngine::ConditionHolds(const EScriptValue& cond) const {
  switch (cond.type) {
    case SEVT_DOUBLE: return cond.dValue != 0.0;  // a NaN holds
    case SEVT_INT: return cond.nValue != 0;
    case SEVT_STRING: return !cond.strValue.empty();
    case SEVT_ARRAY: return cond.GetElementCount() > 0;
    default: return false;
  }
}

bool EZunScriptEngine::ExecuteKeyword(const u16& word, EScriptValue& result) {
  int32_t kind = SETK_END;
  if (word == u"if") {
    Trace("'if' keyword");
    u16 tok = GetNextToken(kind);
    if (kind != SETK_OPERATOR || tok != u"(") ReportError("#0 ( expected");
    EScriptValue cond = EvaluateExpression(1);
    if (!ReadToken().IsOperator(u")")) {
      ReportError(") expected");
      return true;
    }
    if (IsError()) Trace(u"'if' expression value:" + cond.GetInfo());
    bool holds = ConditionHolds(cond);
    if (holds) {
      Trace("Condition OK");
      result.CopyFrom(EvaluateExpression(1));
      if (IsError()) return true;
    } else {
      Trace("Condition FAILED");
      OmitNextStatementOrScope();
    }
    int32_t save = cursor.pos;
    tok = GetNextToken(kind);
    if (kind == SETK_WORD && tok == u"else") {
      Trace("else found");
      if (!holds) {
        Trace("evaluating else");
        result.CopyFrom(EvaluateExpression(1));
      } else {
        OmitNextStatementOrScope();
      }
    } else {
      if (IsError()) Trace(u"no else found, instead was:" + tok);
      cursor.pos = save;
    }
    return true;
  }
  if (word == u"repeat") {
    Trace("repeat");
    int32_t loopStart = cursor.pos;
    u16 tok = GetNextToken(kind);
    if (kind != SETK_OPERATOR || tok != u"{") {
      ReportError("#1 { expected");
      return true;
    }
    for (;;) {
      int32_t bodyStart = cursor.pos;
      result.CopyFrom(ExecuteScope());
      Trace(" repeating");
      if (platform::IsPauseAndControlHeld()) {
        ReportError("pause pressed:exiting");
        return true;
      }
      if (breakPending || IsError()) {
        Trace("repeating: break found or error");
        breakPending = false;
        cursor.pos = loopStart;
        OmitNextStatementOrScope();
        return true;
      }
      cursor.pos = bodyStart;
    }
  }
  if (word == u"break") {
    Trace("break found");
    breakPending = true;
    return true;
  }
  return false;
}

void EZunScriptEngine::OmitNextStatementOrScope() {
  Trace("OmitNextStatementOrScope()");
  int32_t kind = SETK_END;
  u16 tok = GetNextToken(kind);
  if (kind == SETK_OPERATOR && tok == u"{") {
    OmitScope();
    return;
  }
  Trace("OmitNextStatementOrScope: no scope, just one statement, searching for ;");
  while (!IsFinished()) {
    tok = GetNextToken(kind);
    if (kind == SETK_OPERATOR && tok == u";") break;
  }
}

void EZunScriptEngine::OmitScope() {
  NestingGuard nesting(*this);
  if (!nesting.ok()) return;
  Trace("ommiting scope");
  int32_t kind = SETK_END;
  for (;;) {
    u16 tok = GetNextToken(kind);
    // SETK_END also stands for an unterminated comment, which leaves the
    // cursor where it was: stop there too instead of reading it again.
    if (kind == SETK_END) return;
    if (kind != SETK_OPERATOR) continue;
    if (tok == u"{") OmitScope();
    else if (tok == u"}") return;
  }
}

}  // namespace zun
