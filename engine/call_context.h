// One built-in call: its context, the argument readers and their messages
// (the engine's side of calling a built-in; the table of names is the
// built-in library's).
#pragma once

#include <cstdint>

#include "engine/engine.h"

namespace zun {

struct EScriptCallContext {
  EZunScriptEngine* engine = nullptr;
  u16view name;  // the caller's text; lives as long as the call
  EScriptArgs args;
  int32_t bMatched = 0;
  u16 strError;
  const EScriptValue* pFirstArg = nullptr;
  // The first argument as text, made on first use by FirstArgText(): most
  // calls never need it, and an array argument would be converted whole.
  EText strFirstArg;
  bool bFirstArgText = false;

  const EText& FirstArgText() {
    if (!bFirstArgText && pFirstArg) strFirstArg = pFirstArg->ToText();
    bFirstArgText = true;
    return strFirstArg;
  }

  int ArgCount() const { return args.count; }
  const EScriptValue* Arg(int index) const { return index >= 0 && index < args.count ? &args.data[index] : nullptr; }

  // The first error of a call wins; the result becomes a fresh empty value.
  void SetCallError(EScriptValue& result, const u16& text);
  void ReportWrongArgCount(EScriptValue& result, int expected);
  void ReportBadArgument(EScriptValue& result) { SetCallError(result, u"bad argument"); }
  void ReportNotArray(EScriptValue& result) { SetCallError(result, u"argument is not an array"); }

  bool CheckArgCount(int n, bool report, EScriptValue& result);
  bool CheckArgCountRange(int min, int max, bool report, EScriptValue& result);

  double GetArgDouble(int index, bool& bOk, bool required, double def = 0.0);
  int64_t GetArgInt64(int index, bool& bOk, bool required, int64_t def = 0);
  // A string argument is shared, not copied.
  EText GetArgString(int index, bool& bOk, bool required, const EText& def = EText());
  bool IsArgNumber(int index) const;

  // The last-error channel of the file built-ins.
  void SetLastError(int64_t code, const u16& text) {
    engine->nLastError = code;
    engine->strLastError = text;
  }
};

}  // namespace zun
