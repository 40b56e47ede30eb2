// Identifiers, special and temporary folders, the clipboard, the shell and
// the current directory. None of them writes the last-error channels.
#include "platform/system.h"
#include "builtins/families.h"
#include "platform/desktop.h"

namespace zun::builtins {

namespace {
constexpr size_t kMaxDirectoryUnits = 4048;
}

ZUN_BUILTIN(SysGetGUID) { result = EScriptValue::String(platform::NewGuidText()); }

ZUN_BUILTIN(SysGetSpecialFolderLocation) {
  int64_t csidl = ctx.GetArgInt64(0, bOk, true);
  if (bOk) result = EScriptValue::String(platform::SpecialFolderPath(csidl));
}

// The count is reported, but the folder is computed all the same.
ZUN_BUILTIN(SysGetTemporaryFolder) {
  EScriptValue reported;
  ctx.CheckArgCount(0, true, reported);
  result = EScriptValue::String(platform::TemporaryFolder());
}

ZUN_BUILTIN(SysSetClipboardText) {
  u16 text = ctx.GetArgString(0, bOk, true);
  if (bOk) platform::SetClipboardText(ctx.engine->hMainWnd, text);
}

ZUN_BUILTIN(SysGetClipboardText) {
  if (!ctx.CheckArgCount(0, true, result)) return;
  result = EScriptValue::String(platform::GetClipboardText(ctx.engine->hMainWnd));
}

ZUN_BUILTIN(ShellExecute) {
  u16 operation = ctx.GetArgString(0, bOk, true);
  u16 path = ctx.GetArgString(1, bOk, true);
  u16 parameters = ctx.GetArgString(2, bOk, false);
  u16 directory = ctx.GetArgString(3, bOk, false);
  if (bOk) result = Flag(platform::ShellExecuteDocument(operation, path, parameters, directory));
}

ZUN_BUILTIN(GetCurrentDirectory) {
  if (!ctx.CheckArgCount(0, true, result)) return;
  result = EScriptValue::String(platform::CurrentDirectory(kMaxDirectoryUnits));
}

ZUN_BUILTIN(SetCurrentDirectory) {
  u16 path = ctx.GetArgString(0, bOk, true);
  if (bOk) result = Flag(platform::ChangeCurrentDirectory(path));
}

}  // namespace zun::builtins
