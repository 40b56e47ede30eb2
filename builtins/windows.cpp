// Finding, inspecting, moving, showing and retitling windows, and sending
// them messages. A handle that names no window is not an error: the system
// calls fail and give 0, "" or nothing.
#include "builtins/families.h"
#include "platform/desktop.h"

namespace zun::builtins {

namespace {

struct Edge {
  const char16_t* name;
  int64_t platform::WindowRect::*field;
};
const Edge kEdges[] = {{u"left", &platform::WindowRect::left},
                       {u"top", &platform::WindowRect::top},
                       {u"right", &platform::WindowRect::right},
                       {u"bottom", &platform::WindowRect::bottom}};

// FindWindow's arguments count only as non-empty strings.
bool TextFilter(const EScriptValue* arg, u16& text) {
  if (!arg || arg->type != SEVT_STRING) return false;
  text = arg->ToString();
  return !text.empty();
}

}  // namespace

// A handle that names no window gives 0 for every edge.
ZUN_BUILTIN(WinGetPos) {
  int64_t hwnd = ctx.GetArgInt64(0, bOk, true);
  u16 corner = ToLower(ctx.GetArgString(1, bOk, true));
  if (!bOk) return;
  for (const Edge& edge : kEdges) {
    if (corner != edge.name) continue;
    platform::WindowRect rect;
    platform::GetWindowRect(hwnd, rect);
    result = EScriptValue::Int(rect.*edge.field);
    return;
  }
  ctx.ReportBadArgument(result);
}

ZUN_BUILTIN(WinSetPos) {
  int64_t hwnd = ctx.GetArgInt64(0, bOk, true);
  platform::WindowRect rect;
  rect.left = ctx.GetArgInt64(1, bOk, true);
  rect.top = ctx.GetArgInt64(2, bOk, true);
  rect.right = ctx.GetArgInt64(3, bOk, true);
  rect.bottom = ctx.GetArgInt64(4, bOk, true);
  int64_t relative = ctx.GetArgInt64(5, bOk, false, 0);
  if (!bOk || static_cast<uint32_t>(hwnd) == 0) return;
  platform::SetWindowRect(hwnd, rect, relative != 0);
}

ZUN_BUILTIN(WinSetText) {
  int64_t hwnd = ctx.GetArgInt64(0, bOk, true);
  u16 text = ctx.GetArgString(1, bOk, true);
  if (bOk) result = Flag(platform::SetWindowTitle(hwnd, text));
}

ZUN_BUILTIN(WinGetText) {
  int64_t hwnd = ctx.GetArgInt64(0, bOk, true);
  if (bOk) result = EScriptValue::String(platform::GetWindowTitle(hwnd));
}

ZUN_BUILTIN(WinShow) {
  int64_t hwnd = ctx.GetArgInt64(0, bOk, true);
  int64_t show = ctx.GetArgInt64(1, bOk, true);
  if (bOk) result = EScriptValue::Int(platform::ShowWindow(hwnd, show));
}

ZUN_BUILTIN(SendMessage) {
  int64_t hwnd = ctx.GetArgInt64(0, bOk, true);
  int64_t message = ctx.GetArgInt64(1, bOk, true);
  int64_t wParam = ctx.GetArgInt64(2, bOk, false, 0);
  int64_t lParam = ctx.GetArgInt64(3, bOk, false, 0);
  if (bOk) result = EScriptValue::Int(platform::SendWindowMessage(hwnd, message, wParam, lParam));
}

ZUN_BUILTIN(GetForegroundWindow) {
  if (!ctx.CheckArgCount(0, true, result)) return;
  result = EScriptValue::Int(platform::GetForegroundWindow());
}

ZUN_BUILTIN(SetForegroundWindow) {
  int64_t hwnd = ctx.GetArgInt64(0, bOk, true);
  if (bOk) result = Flag(platform::SetForegroundWindow(hwnd));
}

ZUN_BUILTIN(WinIsVisible) {
  int64_t hwnd = ctx.GetArgInt64(0, bOk, true);
  if (bOk) result = Flag(platform::IsWindowVisible(hwnd));
}

ZUN_BUILTIN(WinGetChildWindows) {
  int64_t parent = ctx.GetArgInt64(0, bOk, true);
  if (!bOk) return;
  result = EScriptValue::Array();
  for (int64_t child : platform::ChildWindows(parent)) result.elements.Add(EScriptValue::Int(child));
}

ZUN_BUILTIN(FindWindow) {
  if (!ctx.CheckArgCount(2, true, result)) return;
  u16 className, title;
  bool byClass = TextFilter(ctx.Arg(0), className);
  bool byTitle = TextFilter(ctx.Arg(1), title);
  result = EScriptValue::Int(platform::FindTopLevelWindow(byClass ? &className : nullptr, byTitle ? &title : nullptr));
}

}  // namespace zun::builtins
