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

namespace {

// A menu item's markers: ":grayed:" first, then ":checked:".
MenuItem ParseMenuItem(u16 text, int id) {
  static const u16 kGrayed = u":grayed:";
  static const u16 kChecked = u":checked:";
  MenuItem item;
  item.id = id;
  if (text.compare(0, kGrayed.size(), kGrayed) == 0) {
    text.erase(0, kGrayed.size());
    item.flags |= MENU_GRAYED;
  }
  if (text.compare(0, kChecked.size(), kChecked) == 0) {
    text.erase(0, kChecked.size());
    item.flags |= MENU_CHECKED;
  }
  if (text.empty()) item.flags = MENU_SEPARATOR;
  item.text = text;
  return item;
}

}  // namespace

ZUN_BUILTIN(InputBox) {
  u16 question = ctx.GetArgString(0, bOk, true);
  u16 flags = ctx.GetArgString(1, bOk, false);
  if (!bOk) return;
  bool multiline = ToLower(flags).find(u"multiline") != u16::npos;
  EZunScriptEngine& engine = *ctx.engine;
  int button = ID_CANCEL;
  u16 text = engine.Dialogs().InputBox(engine.hMainWnd, question, multiline, button);
  engine.lastAdditionalResult = EScriptValue::Int(button == ID_OK ? ID_OK : ID_CANCEL);
  result = EScriptValue::String(text);
}

ZUN_BUILTIN(WinShowMenu) {
  if (!ctx.CheckArgCount(1, true, result)) return;
  if (!ctx.pFirstArg->IsArray()) return ctx.ReportNotArray(result);
  std::vector<u16> texts;
  std::vector<MenuItem> items;
  for (int i = 0; i < ctx.pFirstArg->GetElementCount(); ++i) {
    texts.push_back(ctx.pFirstArg->elements[i].ToString());
    items.push_back(ParseMenuItem(texts.back(), i + 1));
  }
  EZunScriptEngine& engine = *ctx.engine;
  int chosen = engine.Dialogs().ShowMenu(engine.hMainWnd, items);
  bool valid = chosen >= 1 && chosen <= static_cast<int>(texts.size());
  result = EScriptValue::String(valid ? texts[static_cast<size_t>(chosen) - 1] : u16());
}

}  // namespace zun::builtins
