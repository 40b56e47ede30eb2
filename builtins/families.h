// The built-ins, one family per file; builtins/table.cpp maps names to them.
#pragma once

#include "engine/call_context.h"

#define ZUN_BUILTIN(fn) void fn(EScriptCallContext& ctx, EScriptValue& result, bool& bOk)
// A built-in's common case (IntrinsicFn), defined beside the built-in.
#define ZUN_INTRINSIC(fn) bool fn(const EScriptValue* const* args, int count, EScriptValue& result)

namespace zun::builtins {

// The common cases that the executor runs without a call's context.
namespace intrinsic {
ZUN_INTRINSIC(str);
ZUN_INTRINSIC(int_);
ZUN_INTRINSIC(double_);
ZUN_INTRINSIC(array_size);
ZUN_INTRINSIC(strlen);
ZUN_INTRINSIC(strupper);
ZUN_INTRINSIC(strlower);
ZUN_INTRINSIC(strsub);
}  // namespace intrinsic

// The 1/0 answer of the built-ins that report a success or a test.
inline EScriptValue Flag(bool b) { return EScriptValue::Int(b ? 1 : 0); }

// common.cpp
ZUN_BUILTIN(GetLastError);
ZUN_BUILTIN(GetLastAdditionalResult);
ZUN_BUILTIN(Sleep);
ZUN_BUILTIN(str);
ZUN_BUILTIN(int_);
ZUN_BUILTIN(double_);
ZUN_BUILTIN(chr);
ZUN_BUILTIN(asc);
ZUN_BUILTIN(srand);
ZUN_BUILTIN(rand);
ZUN_BUILTIN(handle_type);

// internal.cpp
ZUN_BUILTIN(var_getempty);
ZUN_BUILTIN(var_isempty);
ZUN_BUILTIN(var_type);
ZUN_BUILTIN(var_exists);
ZUN_BUILTIN(engine_internal_info);

// arrays.cpp
ZUN_BUILTIN(Array);
ZUN_BUILTIN(array_size);
ZUN_BUILTIN(array_info);

// math.cpp: the one-argument functions share one reader.
using MathFn = double (*)(double);
double MathAbs(double);
double MathSqrt(double);
double MathFloor(double);
double MathAcos(double);
double MathAsin(double);
double MathAtan(double);
double MathCos(double);
double MathCosh(double);
double MathExp(double);
double MathLog(double);
double MathLog10(double);
double MathSin(double);
double MathSinh(double);
double MathTan(double);
double MathTanh(double);
double MathPow(double, double);
void ApplyMath(MathFn fn, EScriptCallContext& ctx, EScriptValue& result, bool& bOk);
template <MathFn Fn>
ZUN_BUILTIN(Math) {
  ApplyMath(Fn, ctx, result, bOk);
}
namespace intrinsic {
// ApplyMath of a number.
template <MathFn Fn>
ZUN_INTRINSIC(Math) {
  if (count != 1 || !args[0]->IsNumber()) return false;
  result = EScriptValue::Double(Fn(args[0]->AsDouble()));
  return true;
}
}  // namespace intrinsic
ZUN_BUILTIN(pow);

// strings.cpp
ZUN_BUILTIN(strlen);
ZUN_BUILTIN(strcmp);
ZUN_BUILTIN(strfind);
ZUN_BUILTIN(strsub);
ZUN_BUILTIN(strdel);
ZUN_BUILTIN(strins);
ZUN_BUILTIN(strreplace);
ZUN_BUILTIN(strupper);
ZUN_BUILTIN(strlower);

// time.cpp
ZUN_BUILTIN(TimeGetCurrent);
ZUN_BUILTIN(TimeFormat);
ZUN_BUILTIN(TimeGetYear);
ZUN_BUILTIN(TimeGetMonth);
ZUN_BUILTIN(TimeGetDay);
ZUN_BUILTIN(TimeGetDayOfWeek);
ZUN_BUILTIN(TimeGetHour);
ZUN_BUILTIN(TimeGetMinute);
ZUN_BUILTIN(TimeGetSecond);

// dialogs.cpp
ZUN_BUILTIN(MessageBox);
ZUN_BUILTIN(InputBox);
ZUN_BUILTIN(WinShowMenu);

// input.cpp
ZUN_BUILTIN(GetKeyState);
ZUN_BUILTIN(SendTextToWindow);
ZUN_BUILTIN(MouseGetPosX);
ZUN_BUILTIN(MouseGetPosY);
ZUN_BUILTIN(MouseSetPos);
ZUN_BUILTIN(MouseClick);
ZUN_BUILTIN(MouseDoubleClick);

// system.cpp
ZUN_BUILTIN(SysGetGUID);
ZUN_BUILTIN(SysGetSpecialFolderLocation);
ZUN_BUILTIN(SysGetTemporaryFolder);
ZUN_BUILTIN(SysSetClipboardText);
ZUN_BUILTIN(SysGetClipboardText);
ZUN_BUILTIN(ShellExecute);
ZUN_BUILTIN(GetCurrentDirectory);
ZUN_BUILTIN(SetCurrentDirectory);

// windows.cpp
ZUN_BUILTIN(WinGetPos);
ZUN_BUILTIN(WinSetPos);
ZUN_BUILTIN(WinSetText);
ZUN_BUILTIN(WinGetText);
ZUN_BUILTIN(WinShow);
ZUN_BUILTIN(SendMessage);
ZUN_BUILTIN(GetForegroundWindow);
ZUN_BUILTIN(SetForegroundWindow);
ZUN_BUILTIN(WinIsVisible);
ZUN_BUILTIN(WinGetChildWindows);
ZUN_BUILTIN(FindWindow);

// files.cpp
ZUN_BUILTIN(FileIsDirectory);
ZUN_BUILTIN(FileGetProperty);
ZUN_BUILTIN(FileExists);
ZUN_BUILTIN(FileDelete);
ZUN_BUILTIN(FileRename);
ZUN_BUILTIN(FileCopy);
ZUN_BUILTIN(FileMove);
ZUN_BUILTIN(FileCreateDirectory);
ZUN_BUILTIN(ReadDirectory);

// paths.cpp
ZUN_BUILTIN(UrlGetName);
ZUN_BUILTIN(UrlGetTitle);
ZUN_BUILTIN(UrlGetExt);
ZUN_BUILTIN(UrlGetParent);
ZUN_BUILTIN(UrlIsSame);
ZUN_BUILTIN(UrlJoin);

// text_files.cpp
ZUN_BUILTIN(TextFileLoad);
ZUN_BUILTIN(TextFileSave);
ZUN_BUILTIN(TextFileAppend);

}  // namespace zun::builtins
