// The built-ins that ask the person running the script.
#include "builtins/families.h"

namespace zun::builtins {

ZUN_BUILTIN(MessageBox) {
  if (!ctx.CheckArgCountRange(1, 3, true, result)) return;
  u16 text = ctx.GetArgString(0, bOk, true);
  u16 caption = ctx.GetArgString(1, bOk, false, u"ZUN Script");
  int64_t type = ctx.GetArgInt64(2, bOk, false, 0);
  if (!bOk) return;
  EZunScriptEngine& engine = *ctx.engine;
  int button = engine.Dialogs().MessageBox(engine.hMainWnd, text, caption, static_cast<uint32_t>(type));
  result = EScriptValue::Int(button);
}

}  // namespace zun::builtins
