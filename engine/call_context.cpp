// The engine's side of a built-in call and the argument readers shared by
// every built-in.
#include "engine/call_context.h"

namespace zun {

void EZunScriptEngine::PrepareBuiltinArgs(const u16& name, EScriptArgs args, EScriptCallContext& ctx) {
  ctx.engine = this;
  ctx.name = name;
  ctx.args = args;
  ctx.bMatched = 0;
  ctx.strError.clear();
  ctx.pFirstArg = ctx.Arg(0);
  ctx.strFirstArg = EText();
  ctx.bFirstArgText = false;
}

void EZunScriptEngine::CallBuiltin(EScriptValue& result, EScriptCallContext& ctx) {
  EScriptValue local;  // the caller's result may hold a value, even an argument
  RunBuiltin(pBuiltinLookup ? pBuiltinLookup(u16(ctx.name)) : nullptr, local, ctx);
  result = std::move(local);
}

void EZunScriptEngine::RunBuiltin(BuiltinFn fn, EScriptValue& result, EScriptCallContext& ctx) {
  bool bOk = true;
  if (fn) {
    ctx.bMatched = 1;
    fn(ctx, result, bOk);
  }
}

// Beside PrepareBuiltinArgs and RunBuiltin, so that a call inlines both.
void EZunScriptEngine::CallInto(const u16& name, BuiltinFn fn, EScriptArgs args, EScriptValue& result) {
  EScriptCallContext ctx;
  PrepareBuiltinArgs(name, args, ctx);
  RunBuiltin(fn, result, ctx);
  if (!ctx.bMatched) ReportError(u"'" + name + u"' function not found");
  if (!ctx.strError.empty()) ReportError(u"'" + name + u"' function error:" + ctx.strError);
}

void EScriptCallContext::SetCallError(EScriptValue& result, const u16& text) {
  if (strError.empty()) strError = text;
  result = EScriptValue();
}

void EScriptCallContext::ReportWrongArgCount(EScriptValue& result, int expected) {
  u16 text = u"wrong number of arguments";
  if (expected != -1) text += u", should be:" + Int64ToString(expected) + u" arguments";
  SetCallError(result, text);
}

bool EScriptCallContext::CheckArgCount(int n, bool report, EScriptValue& result) {
  if (ArgCount() == n) return true;
  if (report) ReportWrongArgCount(result, n);
  return false;
}

bool EScriptCallContext::CheckArgCountRange(int min, int max, bool report, EScriptValue& result) {
  if (ArgCount() >= min && ArgCount() <= max) return true;
  if (report) ReportWrongArgCount(result, -1);
  return false;
}

namespace {

u16 Position(int index) { return Int64ToString(index + 1); }

// The shared rule of the argument readers: a present argument that `read`
// cannot convert fails with `notConvertible` after its 1-based position; a
// missing one fails only when required.
template <typename T, typename Read>
T ReadArg(EScriptCallContext& ctx, int index, bool& bOk, bool required, const T& def, const char16_t* notConvertible,
          Read read) {
  if (const EScriptValue* a = ctx.Arg(index)) {
    T value{};
    if (read(*a, value)) return value;
    bOk = false;
    EScriptValue ignored;
    ctx.SetCallError(ignored, Position(index) + notConvertible);
    return def;
  }
  if (required) {
    bOk = false;
    EScriptValue ignored;
    ctx.SetCallError(ignored, u"missing argument :" + Position(index));
  }
  return def;
}

}  // namespace

double EScriptCallContext::GetArgDouble(int index, bool& bOk, bool required, double def) {
  return ReadArg(*this, index, bOk, required, def, u" argument is not numerical",
                 [](const EScriptValue& a, double& d) { return a.GetDouble(d); });
}

int64_t EScriptCallContext::GetArgInt64(int index, bool& bOk, bool required, int64_t def) {
  return ReadArg(*this, index, bOk, required, def, u" argument is not numerical",
                 [](const EScriptValue& a, int64_t& n) { return a.GetInt64(n); });
}

EText EScriptCallContext::GetArgString(int index, bool& bOk, bool required, const EText& def) {
  const EScriptValue* a = Arg(index);
  if (a && a->type == SEVT_STRING) return a->strValue;  // the commonest, shared as it is
  return ReadArg(*this, index, bOk, required, def, u" argument is an empty var", [](const EScriptValue& a, EText& s) {
    if (a.type == SEVT_EMPTY) return false;
    s = a.ToText();
    return true;
  });
}

bool EScriptCallContext::IsArgNumber(int index) const {
  const EScriptValue* a = Arg(index);
  return a && a->IsNumber();
}

}  // namespace zun
