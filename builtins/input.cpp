// Keyboard and mouse: key states, typed text, the cursor and clicks.
#include "builtins/families.h"
#include "platform/desktop.h"
#include "platform/system.h"

namespace zun::builtins {

namespace {

constexpr uint32_t kClickPauseMs = 10;

struct ButtonName {
  const char16_t* name;
  platform::MouseButton button;
};
const ButtonName kButtons[] = {{u"left", platform::MouseButton::Left},
                               {u"", platform::MouseButton::Left},
                               {u"right", platform::MouseButton::Right},
                               {u"middle", platform::MouseButton::Middle}};

// Down, a pause, up; false (and nothing pressed) for an unknown name.
bool ClickButton(const u16& name) {
  u16 lower = ToLower(name);
  for (const ButtonName& b : kButtons) {
    if (lower != b.name) continue;
    platform::MouseButtonEvent(b.button, true);
    platform::SleepMilliseconds(kClickPauseMs);
    platform::MouseButtonEvent(b.button, false);
    return true;
  }
  return false;
}

void Click(EScriptCallContext& ctx, EScriptValue& result, bool& bOk, int times) {
  u16 name = ctx.GetArgString(0, bOk, false);
  if (!bOk) return;
  if (name.empty()) name = u"left";
  bool known = true;
  for (int i = 0; i < times; ++i) {
    if (i > 0) platform::SleepMilliseconds(kClickPauseMs);
    known = ClickButton(name);
  }
  if (!known) ctx.SetCallError(result, u"Wrong arguments");
}

}  // namespace

ZUN_BUILTIN(GetKeyState) {
  int64_t key = 0;
  if (ctx.IsArgNumber(0)) {
    key = ctx.GetArgInt64(0, bOk, true);
  } else {
    u16 text = ctx.GetArgString(0, bOk, true);
    if (!bOk) return;
    if (text.size() != 1) return ctx.SetCallError(result, u"one character expected");
    key = ToUpper(text[0]);
  }
  if (bOk) result = Flag(platform::IsKeyDown(key));
}

ZUN_BUILTIN(SendTextToWindow) {
  u16 text = ctx.GetArgString(0, bOk, true);
  int64_t hwnd = ctx.GetArgInt64(1, bOk, false, 0);
  if (!bOk) return;
  platform::SendTextToWindow(text, hwnd);
  result = EScriptValue::Int(1);
}

ZUN_BUILTIN(MouseGetPosX) { result = EScriptValue::Int(platform::CursorX()); }
ZUN_BUILTIN(MouseGetPosY) { result = EScriptValue::Int(platform::CursorY()); }

ZUN_BUILTIN(MouseSetPos) {
  int64_t x = ctx.GetArgInt64(0, bOk, true);
  int64_t y = ctx.GetArgInt64(1, bOk, true);
  if (bOk) platform::SetCursorPosition(x, y);
}

ZUN_BUILTIN(MouseClick) { Click(ctx, result, bOk, 1); }
ZUN_BUILTIN(MouseDoubleClick) { Click(ctx, result, bOk, 2); }

}  // namespace zun::builtins
