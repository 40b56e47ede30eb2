// Common and conversion built-ins.
#include <ctime>

#include "builtins/families.h"
#include "platform/system.h"

namespace zun::builtins {

namespace {

// The C library's generator (the Microsoft runtime's constants), so that
// both builds give the same 15-bit sequence from the same seed.
uint32_t g_randState = 1;

// The longest wait Sleep accepts: 0xFFFFFFFF would mean "for ever".
constexpr int64_t kMaxSleepMs = 0xFFFFFFFE;
// Long waits are cut into slices so that Ctrl+Pause can end them.
constexpr uint32_t kSleepSliceMs = 50;

}  // namespace

ZUN_BUILTIN(GetLastError) {
  if (!ctx.CheckArgCount(0, true, result)) return;
  result = EScriptValue::Int(ctx.engine->nLastError);
}

ZUN_BUILTIN(GetLastAdditionalResult) {
  if (!ctx.CheckArgCount(0, true, result)) return;
  result = ctx.engine->lastAdditionalResult;
}

ZUN_BUILTIN(Sleep) {
  int64_t ms = ctx.GetArgInt64(0, bOk, true);
  if (!bOk) return;
  if (ms < 0 || ms > kMaxSleepMs) {
    ctx.SetCallError(result, u"1 argument is out of range (0 to 4294967294 milliseconds)");
    return;
  }
  for (int64_t left = ms; left > 0;) {
    uint32_t slice = left > kSleepSliceMs ? kSleepSliceMs : static_cast<uint32_t>(left);
    platform::SleepMilliseconds(slice);
    left -= slice;
    if (left > 0 && platform::IsPauseAndControlHeld()) {
      ctx.SetCallError(result, u"pause pressed:exiting");
      return;
    }
  }
}

ZUN_BUILTIN(str) {
  if (!ctx.CheckArgCount(1, true, result)) return;
  result = EScriptValue::Text(ctx.Arg(0)->ToText());  // not kept as the context's first text: nothing reads it
}

ZUN_INTRINSIC(intrinsic::str) {
  if (count != 1) return false;
  result = EScriptValue::Text(args[0]->ToText());
  return true;
}

ZUN_BUILTIN(int_) {
  int64_t n = ctx.GetArgInt64(0, bOk, true);
  if (bOk) result = EScriptValue::Int(n);
}

ZUN_BUILTIN(double_) {
  double d = ctx.GetArgDouble(0, bOk, true);
  if (bOk) result = EScriptValue::Double(d);
}

// int and double of a number, as GetArgInt64 and GetArgDouble read one.
ZUN_INTRINSIC(intrinsic::int_) {
  if (count != 1 || !args[0]->IsNumber()) return false;
  result = EScriptValue::Int(args[0]->AsInt64());
  return true;
}

ZUN_INTRINSIC(intrinsic::double_) {
  if (count != 1 || !args[0]->IsNumber()) return false;
  result = EScriptValue::Double(args[0]->AsDouble());
  return true;
}

ZUN_BUILTIN(chr) {
  int64_t code = ctx.GetArgInt64(0, bOk, true);
  if (bOk) result = EScriptValue::String(u16(1, static_cast<char16_t>(code & 0xFFFF)));
}

ZUN_BUILTIN(asc) {
  u16 text = ctx.GetArgString(0, bOk, true);
  if (!bOk) return;
  if (text.empty()) {
    ctx.SetCallError(result, u"empty string");
    return;
  }
  result = EScriptValue::Int(text[0] & 0xFF);
}

ZUN_BUILTIN(srand) {
  if (!ctx.CheckArgCount(0, true, result)) return;
  g_randState = static_cast<uint32_t>(std::time(nullptr));
}

ZUN_BUILTIN(rand) {
  if (!ctx.CheckArgCount(0, true, result)) return;
  g_randState = g_randState * 214013u + 2531011u;
  result = EScriptValue::Int((g_randState >> 16) & 0x7FFF);
}

ZUN_BUILTIN(handle_type) {
  int64_t handle = ctx.GetArgInt64(0, bOk, true);
  if (!bOk) return;
  u16 type = u"handle not found";
  if (handle != 0) {
    for (const auto& h : ctx.engine->handles) {
      if (h->nId == static_cast<uint64_t>(handle)) {
        type = h->strType;
        break;
      }
    }
  }
  result = EScriptValue::String(type);
}

}  // namespace zun::builtins
