// The table of built-in names.
#include "builtins/table.h"

#include <unordered_map>

#include "builtins/families.h"

namespace zun {

namespace {

struct BuiltinRow {
  const char16_t* name;
  BuiltinFn fn;
};

// Every built-in name, in the library's own order; aliases are rows of
// their own that point at the same function.
const BuiltinRow kBuiltins[] = {
    // Common
    {u"GetLastError", builtins::GetLastError},
    {u"GetLastAdditionalResult", builtins::GetLastAdditionalResult},
    {u"MessageBox", builtins::MessageBox},
    {u"print", builtins::MessageBox},
    {u"InputBox", builtins::InputBox},
    {u"Sleep", builtins::Sleep},
    {u"str", builtins::str},
    {u"int", builtins::int_},
    {u"double", builtins::double_},
    {u"chr", builtins::chr},
    {u"asc", builtins::asc},
    {u"handle_type", builtins::handle_type},
    // Internal
    {u"var_getempty", builtins::var_getempty},
    {u"var_isempty", builtins::var_isempty},
    {u"var_type", builtins::var_type},
    {u"var_exists", builtins::var_exists},
    {u"engine_internal_info", builtins::engine_internal_info},
    // Arrays
    {u"Array", builtins::Array},
    {u"array", builtins::Array},
    {u"array_size", builtins::array_size},
    {u"array_info", builtins::array_info},
    // Math
    {u"abs", builtins::Math<builtins::MathAbs>},
    {u"sqrt", builtins::Math<builtins::MathSqrt>},
    {u"floor", builtins::Math<builtins::MathFloor>},
    {u"acos", builtins::Math<builtins::MathAcos>},
    {u"asin", builtins::Math<builtins::MathAsin>},
    {u"atan", builtins::Math<builtins::MathAtan>},
    {u"cos", builtins::Math<builtins::MathCos>},
    {u"cosh", builtins::Math<builtins::MathCosh>},
    {u"exp", builtins::Math<builtins::MathExp>},
    {u"log", builtins::Math<builtins::MathLog>},
    {u"log10", builtins::Math<builtins::MathLog10>},
    {u"sin", builtins::Math<builtins::MathSin>},
    {u"sinh", builtins::Math<builtins::MathSinh>},
    {u"tan", builtins::Math<builtins::MathTan>},
    {u"tanh", builtins::Math<builtins::MathTanh>},
    {u"srand", builtins::srand},
    {u"rand", builtins::rand},
    {u"pow", builtins::pow},
    // Strings
    {u"strlen", builtins::strlen},
    {u"strcmp", builtins::strcmp},
    {u"strfind", builtins::strfind},
    {u"strsub", builtins::strsub},
    {u"strdel", builtins::strdel},
    {u"strins", builtins::strins},
    {u"strreplace", builtins::strreplace},
    {u"strupper", builtins::strupper},
    {u"strlower", builtins::strlower},
    // Date&time
    {u"TimeGetCurrent", builtins::TimeGetCurrent},
    {u"TimeFormat", builtins::TimeFormat},
    {u"TimeGetYear", builtins::TimeGetYear},
    {u"TimeGetMonth", builtins::TimeGetMonth},
    {u"TimeGetDay", builtins::TimeGetDay},
    {u"TimeGetDayOfWeek", builtins::TimeGetDayOfWeek},
    {u"TimeGetHour", builtins::TimeGetHour},
    {u"TimeGetMinute", builtins::TimeGetMinute},
    {u"TimeGetSecond", builtins::TimeGetSecond},
    // Keyboard and mouse
    {u"GetKeyState", builtins::GetKeyState},
    {u"SendTextToWindow", builtins::SendTextToWindow},
    {u"MouseGetPosX", builtins::MouseGetPosX},
    {u"MouseGetPosY", builtins::MouseGetPosY},
    {u"MouseSetPos", builtins::MouseSetPos},
    {u"MouseClick", builtins::MouseClick},
    {u"MouseDoubleClick", builtins::MouseDoubleClick},
    // File system
    {u"FileIsFolder", builtins::FileIsDirectory},
    {u"FileIsDirectory", builtins::FileIsDirectory},
    {u"FileGetProperty", builtins::FileGetProperty},
    {u"FileExists", builtins::FileExists},
    {u"FileDelete", builtins::FileDelete},
    {u"FileRename", builtins::FileRename},
    {u"FileCopy", builtins::FileCopy},
    {u"FileMove", builtins::FileMove},
    {u"FileCreateDirectory", builtins::FileCreateDirectory},
    {u"ReadDirectory", builtins::ReadDirectory},
    {u"UrlGetName", builtins::UrlGetName},
    {u"UrlGetTitle", builtins::UrlGetTitle},
    {u"UrlGetExt", builtins::UrlGetExt},
    {u"UrlGetParent", builtins::UrlGetParent},
    {u"UrlIsSame", builtins::UrlIsSame},
    {u"UrlJoin", builtins::UrlJoin},
    // System
    {u"SysGetGUID", builtins::SysGetGUID},
    {u"SysGetSpecialFolderLocation", builtins::SysGetSpecialFolderLocation},
    {u"SysGetTemporaryFolder", builtins::SysGetTemporaryFolder},
    {u"SysSetClipboardText", builtins::SysSetClipboardText},
    {u"SysGetClipboardText", builtins::SysGetClipboardText},
    {u"ShellExecute", builtins::ShellExecute},
    {u"GetCurrentDirectory", builtins::GetCurrentDirectory},
    {u"SetCurrentDirectory", builtins::SetCurrentDirectory},
    // Text files
    {u"TextFileLoad", builtins::TextFileLoad},
    {u"TextFileSave", builtins::TextFileSave},
    {u"TextFileAppend", builtins::TextFileAppend},
    // Windows
    {u"WinGetPos", builtins::WinGetPos},
    {u"WinSetPos", builtins::WinSetPos},
    {u"WinSetText", builtins::WinSetText},
    {u"WinGetText", builtins::WinGetText},
    {u"WinShow", builtins::WinShow},
    {u"SendMessage", builtins::SendMessage},
    {u"GetForegroundWindow", builtins::GetForegroundWindow},
    {u"SetForegroundWindow", builtins::SetForegroundWindow},
    {u"WinIsVisible", builtins::WinIsVisible},
    {u"WinGetChildWindows", builtins::WinGetChildWindows},
    {u"FindWindow", builtins::FindWindow},
    {u"WinShowMenu", builtins::WinShowMenu},
};

const std::unordered_map<u16, BuiltinFn>& Table() {
  static const std::unordered_map<u16, BuiltinFn> table = [] {
    std::unordered_map<u16, BuiltinFn> t;
    for (const auto& row : kBuiltins) t.emplace(row.name, row.fn);
    return t;
  }();
  return table;
}

}  // namespace

BuiltinFn FindBuiltin(const u16& name) {
  auto it = Table().find(name);
  return it == Table().end() ? nullptr : it->second;
}

int BuiltinCount() { return static_cast<int>(sizeof kBuiltins / sizeof kBuiltins[0]); }
const char16_t* BuiltinName(int index) { return kBuiltins[index].name; }

}  // namespace zun
