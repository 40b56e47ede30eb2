// Built-ins that look at values and at the engine itself.
#include "builtins/families.h"

namespace zun::builtins {

ZUN_BUILTIN(var_getempty) {
  if (!ctx.CheckArgCount(0, true, result)) return;
  result = EScriptValue();
}

ZUN_BUILTIN(var_isempty) {
  if (!ctx.CheckArgCount(1, true, result)) return;
  result = EScriptValue::Int(ctx.pFirstArg->type == SEVT_EMPTY ? 1 : 0);
}

ZUN_BUILTIN(var_type) {
  if (!ctx.CheckArgCount(1, true, result)) return;
  result = EScriptValue::String(GetTypeName(ctx.pFirstArg->type));
}

ZUN_BUILTIN(var_exists) {
  u16 name = ctx.GetArgString(0, bOk, true);
  if (!bOk) return;
  if (!name.empty() && name[0] == u'$') name.erase(0, 1);
  EScriptObject* obj = name.empty() ? nullptr : ctx.engine->FindObject(name, true);
  result = EScriptValue::Int(obj && obj->kind == SEO_VAR ? 1 : 0);
}

ZUN_BUILTIN(engine_internal_info) {
  if (!ctx.CheckArgCount(0, true, result)) return;
  result = EScriptValue::String(ctx.engine->GetEngineInfo());
}

}  // namespace zun::builtins
