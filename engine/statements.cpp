// The keyword statements of the text interpreter.
#include "engine/engine.h"
#include "platform/system.h"

namespace zun {

bool EZunScriptEngine::ExecuteKeyword(const u16& word, EScriptValue& result) {
  return RunKeyword(KeywordOf(word), result);
}

bool EZunScriptEngine::RunKeyword(EKeyword keyword, EScriptValue& result) {
  switch (keyword) {
    case KW_IF: {
      Trace("'if' keyword");
      if (!Lex().Is(OP_OPEN_PAREN)) ReportError("#0 ( expected");
      EScriptValue cond = EvaluateExpression(1);
      IfAfterCondition(cond, result);
      return true;
    }
    case KW_REPEAT: {
      Trace("repeat");
      int32_t loopStart = cursor.pos;
      if (!Lex().Is(OP_OPEN_BRACE)) {
        ReportError("#1 { expected");
        return true;
      }
      for (;;) {
        int32_t bodyStart = cursor.pos;
        result.KeepNameOnly();  // the last pass's value shares nothing while the next runs
        result = ExecuteScope();
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
          // A ';' right after the body belongs to the loop, as after `break`.
          if (!IsError()) {
            int32_t save = cursor.pos;
            if (!Lex().Is(OP_SEMICOLON)) cursor.pos = save;
          }
          return true;
        }
        cursor.pos = bodyStart;
      }
    }
    case KW_BREAK: {
      Trace("break found");
      breakPending = true;
      // `break;` is one statement: an else after it belongs to the if around it.
      int32_t save = cursor.pos;
      if (!IsError() && !Lex().Is(OP_SEMICOLON)) cursor.pos = save;
      return true;
    }
    default: return false;
  }
}

void EZunScriptEngine::IfAfterCondition(const EScriptValue& cond, EScriptValue& result) {
  if (!Lex().Is(OP_CLOSE_PAREN)) {
    ReportError(") expected");
    return;
  }
  if (TraceShown()) Trace(u"'if' expression value:" + cond.GetInfo());
  bool holds = ConditionHolds(cond);
  if (holds) {
    Trace("Condition OK");
    result = RunStatement();
    if (IsError()) return;
  } else {
    Trace("Condition FAILED");
    OmitNextStatementOrScope();
  }
  IfElsePart(holds, result);
}

void EZunScriptEngine::IfElsePart(bool holds, EScriptValue& result) {
  int32_t save = cursor.pos;
  const ELexedToken& next = Lex();
  if (next.kind == SETK_WORD && next.keyword == KW_ELSE) {
    Trace("else found");
    if (!holds) {
      Trace("evaluating else");
      result = RunStatement();
    } else {
      OmitNextStatementOrScope();
    }
  } else {
    if (TraceShown()) Trace(u"no else found, instead was:" + next.text);
    cursor.pos = save;
  }
}

}  // namespace zun
