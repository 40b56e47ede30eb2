// String built-ins. Positions are 0-based UTF-16 indexes; a "to" is inclusive.
#include "builtins/families.h"

namespace zun::builtins {

namespace {

// Script positions are 64-bit; strings are far shorter than 2^40 units, so
// clamping there keeps every sum exact without changing any answer.
int64_t Clamp(int64_t v) {
  constexpr int64_t kLimit = int64_t{1} << 40;
  return v < -kLimit ? -kLimit : (v > kLimit ? kLimit : v);
}

struct Span {
  int64_t from;
  int64_t count;
};

// The bounds rule of strsub, strdel and strreplace: nFrom and nTo must lie
// before the end (negative ones pass); the span is nFrom..nTo inclusive.
bool SpanOf(const u16& str, bool toGiven, int64_t from, int64_t to, Span& span) {
  int64_t len = static_cast<int64_t>(str.size());
  if (from >= len || to >= len) return false;
  from = Clamp(from);
  span.from = from;
  span.count = toGiven ? Clamp(to) - from + 1 : 1;
  return true;
}

bool ReadSpan(EScriptCallContext& ctx, EScriptValue& result, bool& bOk, const u16& str, bool toGiven, int64_t from,
              int64_t to, const char16_t* message, Span& span) {
  if (!bOk) return false;
  if (SpanOf(str, toGiven, from, to, span)) return true;
  ctx.SetCallError(result, message);
  return false;
}

// CString-style deletion: a negative start counts as 0 (the count is kept),
// a negative count deletes nothing, the count stops at the end.
u16 DeleteSpan(const u16& s, Span span) {
  int64_t start = span.from < 0 ? 0 : span.from;
  int64_t len = static_cast<int64_t>(s.size());
  int64_t count = span.count < 0 ? 0 : span.count;
  if (start >= len || count == 0) return s;
  if (count > len - start) count = len - start;
  u16 out = s;
  out.erase(static_cast<size_t>(start), static_cast<size_t>(count));
  return out;
}

u16 InsertAt(const u16& s, int64_t at, const u16& what) {
  if (at < 0) at = 0;
  if (at > static_cast<int64_t>(s.size())) at = static_cast<int64_t>(s.size());
  u16 out = s;
  out.insert(static_cast<size_t>(at), what);
  return out;
}

}  // namespace

ZUN_BUILTIN(strlen) {
  EText s = ctx.GetArgString(0, bOk, true);
  if (bOk) result = EScriptValue::Int(static_cast<int64_t>(s.size()));
}

ZUN_INTRINSIC(intrinsic::strlen) {
  if (count != 1 || args[0]->type != SEVT_STRING) return false;
  result = EScriptValue::Int(static_cast<int64_t>(args[0]->strValue.size()));
  return true;
}

ZUN_BUILTIN(strcmp) {
  if (!ctx.CheckArgCountRange(2, 3, true, result)) return;
  EText a = ctx.GetArgString(0, bOk, true);
  EText b = ctx.GetArgString(1, bOk, true);
  int64_t ignoreCase = ctx.GetArgInt64(2, bOk, false, 0);
  if (!bOk) return;
  int r = ignoreCase == 0 ? Collate(a, b) : (a == b ? 0 : CollateNoCase(a, b));
  result = EScriptValue::Int(r);
}

ZUN_BUILTIN(strfind) {
  if (!ctx.CheckArgCountRange(3, 4, true, result)) return;
  EText str = ctx.GetArgString(0, bOk, true);
  EText needle = ctx.GetArgString(1, bOk, true);
  int64_t start = ctx.GetArgInt64(2, bOk, true);
  int64_t ignoreCase = ctx.GetArgInt64(3, bOk, false, 0);
  if (!bOk) return;
  // A start outside 0..length finds nothing.
  result = EScriptValue::Int(FindInString(str, needle, ignoreCase != 0, start));
}

namespace {

// strsub and strdel: (text, from, optional to), checked the same way.
bool ReadTextAndSpan(EScriptCallContext& ctx, EScriptValue& result, bool& bOk, EText& str, Span& span) {
  if (!ctx.CheckArgCountRange(2, 3, true, result)) return false;
  str = ctx.GetArgString(0, bOk, true);
  int64_t from = ctx.GetArgInt64(1, bOk, true);
  int64_t to = ctx.GetArgInt64(2, bOk, false, 0);
  return ReadSpan(ctx, result, bOk, str, ctx.ArgCount() > 2, from, to, u"Index out of bounds", span);
}

}  // namespace

ZUN_BUILTIN(strsub) {
  EText str;
  Span span{};
  if (ReadTextAndSpan(ctx, result, bOk, str, span)) result = EScriptValue::String(SafeMid(str, span.from, span.count));
}

ZUN_INTRINSIC(intrinsic::strsub) {
  // A string and one or two numbers, read as GetArgInt64 reads numbers.
  if (count < 2 || count > 3 || args[0]->type != SEVT_STRING) return false;
  int64_t from = 0, to = 0;
  for (int i = 1; i < count; ++i)
    if (!args[i]->IsNumber()) return false;
  args[1]->GetInt64(from);
  if (count > 2) args[2]->GetInt64(to);
  Span span{};
  if (!SpanOf(args[0]->strValue, count > 2, from, to, span)) return false;
  result = EScriptValue::String(SafeMid(args[0]->strValue, span.from, span.count));
  return true;
}

ZUN_BUILTIN(strdel) {
  EText str;
  Span span{};
  if (ReadTextAndSpan(ctx, result, bOk, str, span)) result = EScriptValue::String(DeleteSpan(str, span));
}

ZUN_BUILTIN(strins) {
  if (!ctx.CheckArgCount(3, true, result)) return;
  EText str = ctx.GetArgString(0, bOk, true);
  int64_t at = ctx.GetArgInt64(1, bOk, true);
  EText what = ctx.GetArgString(2, bOk, true);
  if (bOk) result = EScriptValue::String(InsertAt(str, at, what));
}

ZUN_BUILTIN(strreplace) {
  if (!ctx.CheckArgCount(4, true, result)) return;
  EText str = ctx.GetArgString(0, bOk, true);
  int64_t from = ctx.GetArgInt64(1, bOk, true);
  int64_t to = ctx.GetArgInt64(2, bOk, true);
  EText with = ctx.GetArgString(3, bOk, true);
  Span span{};
  if (!ReadSpan(ctx, result, bOk, str, true, from, to, u"index out of bounds", span)) return;
  result = EScriptValue::String(InsertAt(DeleteSpan(str, span), span.from, with));
}

ZUN_BUILTIN(strupper) {
  EText s = ctx.GetArgString(0, bOk, true);
  if (bOk) result = EScriptValue::String(ToUpper(s));
}

ZUN_BUILTIN(strlower) {
  EText s = ctx.GetArgString(0, bOk, true);
  if (bOk) result = EScriptValue::String(ToLower(s));
}

ZUN_INTRINSIC(intrinsic::strupper) {
  if (count != 1 || args[0]->type != SEVT_STRING) return false;
  result = EScriptValue::String(ToUpper(args[0]->strValue));
  return true;
}

ZUN_INTRINSIC(intrinsic::strlower) {
  if (count != 1 || args[0]->type != SEVT_STRING) return false;
  result = EScriptValue::String(ToLower(args[0]->strValue));
  return true;
}

}  // namespace zun::builtins
