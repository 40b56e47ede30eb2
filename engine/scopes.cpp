// Scopes, variable lookup, blocks and function calls.
#include "builtins/dispatch.h"
#include "engine/engine.h"

namespace zun {

void EZunScriptEngine::PushScope() { scopes.Add(EScriptScope()); }

void EZunScriptEngine::PopScope() {
  if (!scopes.IsEmpty()) scopes.RemoveAt(scopes.GetSize() - 1);
}

EScriptScope* EZunScriptEngine::GetScope(int index) {
  if (index == -1) index = GetCurrentScopeIndex();
  return scopes.At(index);
}

EScriptObject* EZunScriptEngine::FindObject(const u16& name, bool searchOuter) {
  for (int i = GetCurrentScopeIndex(); i >= 0; --i) {
    if (EScriptObject* found = scopes[i].Find(name)) return found;
    if (!searchOuter) break;
  }
  return nullptr;
}

EScriptObject* EZunScriptEngine::SetOrAddObject(const EScriptObject& object, bool searchOuter) {
  if (EScriptObject* existing = FindObject(object.name, searchOuter)) {
    existing->value.CopyFrom(object.value);
    existing->kind = object.kind;
    return existing;
  }
  if (scopes.IsEmpty()) return nullptr;
  return scopes[GetCurrentScopeIndex()].Append(object);
}

EScriptValue EZunScriptEngine::ExecuteScope() {
  NestingGuard nesting(*this);
  if (!nesting.ok()) return EScriptValue();
  Trace("entering scope");
  EScriptValue result;
  PushScope();
  for (;;) {
    result.CopyFrom(EvaluateExpression(1));
    if (bClosedBrace) {  // this statement consumed the block's own '}'
      bClosedBrace = false;
      break;
    }
    if (IsFinished()) break;
  }
  Trace("leaving scope");
  PopScope();
  return result;
}

EScriptValue EZunScriptEngine::EvaluateFunctionCall(const u16& name) {
  if (IsError()) Trace(u"EvaluateFunctionCall:" + name);
  int32_t kind = SETK_END;
  u16 tok = GetNextToken(kind);
  if (kind != SETK_OPERATOR || tok != u"(") {
    ReportError("#4 ( expected");
    return EScriptValue();
  }
  EArray<EScriptValue> args;
  int32_t save = cursor.pos;
  tok = GetNextToken(kind);
  if (kind != SETK_OPERATOR || tok != u")") {
    cursor.pos = save;
    for (;;) {
      EScriptValue arg = EvaluateExpression(1);
      // The character right at the cursor, no blank skipped: "f(1 ,2)" fails.
      char16_t next = cursor.Current();
      bool atEnd = cursor.pos >= cursor.Size();
      if (IsFinished()) return EScriptValue();
      args.Add(std::move(arg));
      if (!atEnd && next == u',') {
        ReadToken();
        continue;
      }
      if (!atEnd && next == u')') {
        if (!ReadToken().IsOperator(u")")) {
          ReportError(") expected");
          return EScriptValue();
        }
        break;
      }
      ReportError(") expected");
      return EScriptValue();
    }
  }
  EScriptValue result = CallFunction(name, args);
  if (IsError()) Trace(u"Function:" + name + u" returned:" + result.GetInfo());
  return result;
}

EScriptValue EZunScriptEngine::CallFunction(const u16& name, EArray<EScriptValue>& args) {
  EScriptCallContext ctx;
  PrepareBuiltinArgs(name, args, ctx);
  EScriptValue result;
  CallBuiltin(result, ctx);
  if (!ctx.bMatched) ReportError(u"'" + name + u"' function not found");
  if (!ctx.strError.empty()) ReportError(u"'" + name + u"' function error:" + ctx.strError);
  return result;
}

}  // namespace zun
