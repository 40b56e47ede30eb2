// Array construction and inspection.
#include "builtins/families.h"

namespace zun::builtins {

ZUN_BUILTIN(Array) {
  result = EScriptValue::Array();
  result.elements.Reserve(ctx.ArgCount());
  for (int i = 0; i < ctx.ArgCount(); ++i) result.elements.Add(*ctx.Arg(i));
}

ZUN_BUILTIN(array_size) {
  if (!ctx.CheckArgCount(1, true, result)) return;
  if (!ctx.pFirstArg->IsArray()) return ctx.ReportNotArray(result);
  result = EScriptValue::Int(ctx.pFirstArg->GetElementCount());
}

ZUN_INTRINSIC(intrinsic::array_size) {
  if (count != 1 || !args[0]->IsArray()) return false;
  result = EScriptValue::Int(args[0]->GetElementCount());
  return true;
}

ZUN_BUILTIN(array_info) {
  if (!ctx.CheckArgCount(1, true, result)) return;
  const EScriptValue& a = *ctx.pFirstArg;
  if (!a.IsArray()) return ctx.ReportNotArray(result);
  u16 out = u"size:" + Int64ToString(a.GetElementCount()) + u"\r\n";
  out += u"items (index, name, value):\r\n";
  for (int i = 0; i < a.GetElementCount(); ++i)
    out += Int64ToString(i) + u" \"" + a.elements[i].name + u"\" " + a.elements[i].ToString() + u"\r\n";
  result = EScriptValue::String(out);
}

}  // namespace zun::builtins
