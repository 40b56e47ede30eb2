// The table of built-in names.
#include "builtins/table.h"

#include <unordered_map>

#include "builtins/families.h"

namespace zun {

namespace {

struct BuiltinRow {
  const char16_t* name;
  BuiltinFn fn;
  EBuiltinCategory category;
  IntrinsicFn intrinsic = nullptr;  // its common case, where it has one
};

// A one-number math built-in and its common case, made from one function.
template <builtins::MathFn Fn>
constexpr BuiltinRow MathRow(const char16_t* name) {
  return {name, builtins::Math<Fn>, BC_MATH, builtins::intrinsic::Math<Fn>};
}

// Every built-in name, in the library's own order; aliases are rows of
// their own that point at the same function.
const BuiltinRow kBuiltins[] = {
    // Common
    {u"GetLastError", builtins::GetLastError, BC_COMMON},
    {u"GetLastAdditionalResult", builtins::GetLastAdditionalResult, BC_COMMON},
    {u"MessageBox", builtins::MessageBox, BC_COMMON},
    {u"print", builtins::MessageBox, BC_COMMON},
    {u"InputBox", builtins::InputBox, BC_COMMON},
    {u"Sleep", builtins::Sleep, BC_COMMON},
    {u"str", builtins::str, BC_COMMON, builtins::intrinsic::str},
    {u"int", builtins::int_, BC_COMMON, builtins::intrinsic::int_},
    {u"double", builtins::double_, BC_COMMON, builtins::intrinsic::double_},
    {u"chr", builtins::chr, BC_COMMON},
    {u"asc", builtins::asc, BC_COMMON},
    {u"handle_type", builtins::handle_type, BC_COMMON},
    // Internal
    {u"var_getempty", builtins::var_getempty, BC_INTERNAL},
    {u"var_isempty", builtins::var_isempty, BC_INTERNAL},
    {u"var_type", builtins::var_type, BC_INTERNAL},
    {u"var_exists", builtins::var_exists, BC_INTERNAL},
    {u"engine_internal_info", builtins::engine_internal_info, BC_INTERNAL},
    // Arrays
    {u"Array", builtins::Array, BC_ARRAYS},
    {u"array", builtins::Array, BC_ARRAYS},
    {u"array_size", builtins::array_size, BC_ARRAYS, builtins::intrinsic::array_size},
    {u"array_info", builtins::array_info, BC_ARRAYS},
    // Math
    MathRow<builtins::MathAbs>(u"abs"),
    MathRow<builtins::MathSqrt>(u"sqrt"),
    MathRow<builtins::MathFloor>(u"floor"),
    MathRow<builtins::MathAcos>(u"acos"),
    MathRow<builtins::MathAsin>(u"asin"),
    MathRow<builtins::MathAtan>(u"atan"),
    MathRow<builtins::MathCos>(u"cos"),
    MathRow<builtins::MathCosh>(u"cosh"),
    MathRow<builtins::MathExp>(u"exp"),
    MathRow<builtins::MathLog>(u"log"),
    MathRow<builtins::MathLog10>(u"log10"),
    MathRow<builtins::MathSin>(u"sin"),
    MathRow<builtins::MathSinh>(u"sinh"),
    MathRow<builtins::MathTan>(u"tan"),
    MathRow<builtins::MathTanh>(u"tanh"),
    {u"srand", builtins::srand, BC_COMMON},
    {u"rand", builtins::rand, BC_COMMON},
    {u"pow", builtins::pow, BC_MATH},
    // Strings
    {u"strlen", builtins::strlen, BC_STRINGS, builtins::intrinsic::strlen},
    {u"strcmp", builtins::strcmp, BC_STRINGS},
    {u"strfind", builtins::strfind, BC_STRINGS},
    {u"strsub", builtins::strsub, BC_STRINGS, builtins::intrinsic::strsub},
    {u"strdel", builtins::strdel, BC_STRINGS},
    {u"strins", builtins::strins, BC_STRINGS},
    {u"strreplace", builtins::strreplace, BC_STRINGS},
    {u"strupper", builtins::strupper, BC_STRINGS, builtins::intrinsic::strupper},
    {u"strlower", builtins::strlower, BC_STRINGS, builtins::intrinsic::strlower},
    // Date&time
    {u"TimeGetCurrent", builtins::TimeGetCurrent, BC_TIME},
    {u"TimeFormat", builtins::TimeFormat, BC_TIME},
    {u"TimeGetYear", builtins::TimeGetYear, BC_TIME},
    {u"TimeGetMonth", builtins::TimeGetMonth, BC_TIME},
    {u"TimeGetDay", builtins::TimeGetDay, BC_TIME},
    {u"TimeGetDayOfWeek", builtins::TimeGetDayOfWeek, BC_TIME},
    {u"TimeGetHour", builtins::TimeGetHour, BC_TIME},
    {u"TimeGetMinute", builtins::TimeGetMinute, BC_TIME},
    {u"TimeGetSecond", builtins::TimeGetSecond, BC_TIME},
    // Keyboard and mouse
    {u"GetKeyState", builtins::GetKeyState, BC_INPUT},
    {u"SendTextToWindow", builtins::SendTextToWindow, BC_INPUT},
    {u"MouseGetPosX", builtins::MouseGetPosX, BC_INPUT},
    {u"MouseGetPosY", builtins::MouseGetPosY, BC_INPUT},
    {u"MouseSetPos", builtins::MouseSetPos, BC_INPUT},
    {u"MouseClick", builtins::MouseClick, BC_INPUT},
    {u"MouseDoubleClick", builtins::MouseDoubleClick, BC_INPUT},
    // File system
    {u"FileIsFolder", builtins::FileIsDirectory, BC_FILES},
    {u"FileIsDirectory", builtins::FileIsDirectory, BC_FILES},
    {u"FileGetProperty", builtins::FileGetProperty, BC_FILES},
    {u"FileExists", builtins::FileExists, BC_FILES},
    {u"FileDelete", builtins::FileDelete, BC_FILES},
    {u"FileRename", builtins::FileRename, BC_FILES},
    {u"FileCopy", builtins::FileCopy, BC_FILES},
    {u"FileMove", builtins::FileMove, BC_FILES},
    {u"FileCreateDirectory", builtins::FileCreateDirectory, BC_FILES},
    {u"ReadDirectory", builtins::ReadDirectory, BC_FILES},
    {u"UrlGetName", builtins::UrlGetName, BC_FILES},
    {u"UrlGetTitle", builtins::UrlGetTitle, BC_FILES},
    {u"UrlGetExt", builtins::UrlGetExt, BC_FILES},
    {u"UrlGetParent", builtins::UrlGetParent, BC_FILES},
    {u"UrlIsSame", builtins::UrlIsSame, BC_FILES},
    {u"UrlJoin", builtins::UrlJoin, BC_FILES},
    // System
    {u"SysGetGUID", builtins::SysGetGUID, BC_SYSTEM},
    {u"SysGetSpecialFolderLocation", builtins::SysGetSpecialFolderLocation, BC_SYSTEM},
    {u"SysGetTemporaryFolder", builtins::SysGetTemporaryFolder, BC_SYSTEM},
    {u"SysSetClipboardText", builtins::SysSetClipboardText, BC_SYSTEM},
    {u"SysGetClipboardText", builtins::SysGetClipboardText, BC_SYSTEM},
    {u"ShellExecute", builtins::ShellExecute, BC_SYSTEM},
    {u"GetCurrentDirectory", builtins::GetCurrentDirectory, BC_SYSTEM},
    {u"SetCurrentDirectory", builtins::SetCurrentDirectory, BC_SYSTEM},
    // Text files
    {u"TextFileLoad", builtins::TextFileLoad, BC_FILES},
    {u"TextFileSave", builtins::TextFileSave, BC_FILES},
    {u"TextFileAppend", builtins::TextFileAppend, BC_FILES},
    // Windows
    {u"WinGetPos", builtins::WinGetPos, BC_WINDOWS},
    {u"WinSetPos", builtins::WinSetPos, BC_WINDOWS},
    {u"WinSetText", builtins::WinSetText, BC_WINDOWS},
    {u"WinGetText", builtins::WinGetText, BC_WINDOWS},
    {u"WinShow", builtins::WinShow, BC_WINDOWS},
    {u"SendMessage", builtins::SendMessage, BC_WINDOWS},
    {u"GetForegroundWindow", builtins::GetForegroundWindow, BC_WINDOWS},
    {u"SetForegroundWindow", builtins::SetForegroundWindow, BC_WINDOWS},
    {u"WinIsVisible", builtins::WinIsVisible, BC_WINDOWS},
    {u"WinGetChildWindows", builtins::WinGetChildWindows, BC_WINDOWS},
    {u"FindWindow", builtins::FindWindow, BC_WINDOWS},
    {u"WinShowMenu", builtins::WinShowMenu, BC_WINDOWS},
};

const BuiltinRow* FindRow(const u16& name) {
  static const std::unordered_map<u16, const BuiltinRow*> table = [] {
    std::unordered_map<u16, const BuiltinRow*> t;
    for (const auto& row : kBuiltins) t.emplace(row.name, &row);
    return t;
  }();
  auto it = table.find(name);
  return it == table.end() ? nullptr : it->second;
}

}  // namespace

BuiltinFn FindBuiltin(const u16& name) {
  const BuiltinRow* row = FindRow(name);
  return row ? row->fn : nullptr;
}

IntrinsicFn FindIntrinsic(const u16& name) {
  const BuiltinRow* row = FindRow(name);
  return row ? row->intrinsic : nullptr;
}

int BuiltinCount() { return static_cast<int>(sizeof kBuiltins / sizeof kBuiltins[0]); }
const char16_t* BuiltinName(int index) { return kBuiltins[index].name; }
EBuiltinCategory BuiltinCategoryOf(int index) { return kBuiltins[index].category; }

const char16_t* BuiltinCategoryName(EBuiltinCategory category) {
  static const char16_t* const kNames[] = {u"Common",    u"Internal",       u"Arrays",      u"Math",   u"Strings",
                                           u"Date&time", u"Mouse&keyboard", u"File system", u"System", u"Windows"};
  static_assert(sizeof kNames / sizeof kNames[0] == BC_COUNT, "one name per category");
  return kNames[category];
}

}  // namespace zun
