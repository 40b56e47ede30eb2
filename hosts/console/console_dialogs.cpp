// zunrunc's dialogs: messages and questions on the terminal, error reports with line and column.
#include "hosts/console/console_dialogs.h"

#include "engine/engine.h"
#include "platform/console.h"
#include "platform/system.h"

namespace zun {

using platform::Stream;
using platform::WriteText;

u16 ToTerminalLines(const u16& text) {
  u16 out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    out.push_back(text[i] == u'\r' ? u'\n' : text[i]);
  }
  return out;
}

int ConsoleDialogs::MessageBox(void*, const u16& text, const u16& caption, uint32_t type) {
  u16 line = caption == u"ZUN Script" ? text : u"[" + caption + u"] " + text;
  WriteText(Stream::Out, ToTerminalLines(line) + u"\n");
  std::vector<int> buttons = MessageBoxButtons(type);
  if (buttons.size() == 1) return buttons.front();
  u16 names;
  for (int b : buttons) names += (names.empty() ? u"" : u"/") + ButtonName(b);
  for (;;) {
    WriteText(Stream::Err, u"[" + names + u"]? ");
    u16 answer;
    if (!platform::ReadLine(answer)) {
      WriteText(Stream::Err, ButtonName(buttons.front()) + u"\n");
      return buttons.front();
    }
    for (int b : buttons) {
      u16 name = ButtonName(b);
      if (CollateNoCase(answer, name) == 0) return b;
    }
    if (answer.size() == 1)
      for (int b : buttons)
        if (ToLower(ButtonName(b)[0]) == ToLower(answer[0])) return b;
  }
}

u16 ConsoleDialogs::InputBox(void*, const u16& question, bool, int& button) {
  WriteText(Stream::Err, ToTerminalLines(question) + u"\n> ");
  u16 answer;
  if (!platform::ReadLine(answer)) {
    WriteText(Stream::Err, u"\n");
    button = ID_CANCEL;
    return u16();
  }
  button = ID_OK;
  return answer;
}

int ConsoleDialogs::ShowMenu(void*, const std::vector<MenuItem>& items) {
  int number = 0;
  for (const auto& item : items) {
    ++number;
    if (item.flags & MENU_SEPARATOR) {
      WriteText(Stream::Err, u"    ----\n");
      continue;
    }
    u16 mark = item.flags & MENU_CHECKED ? u"* " : u"  ";
    u16 gray = item.flags & MENU_GRAYED ? u" (unavailable)" : u"";
    WriteText(Stream::Err, Int64ToString(number) + u". " + mark + item.text + gray + u"\n");
  }
  WriteText(Stream::Err, u"choice? ");
  u16 answer;
  if (!platform::ReadLine(answer)) {
    WriteText(Stream::Err, u"\n");
    return -1;
  }
  number = 0;
  for (const auto& item : items) {
    ++number;
    if (item.flags & (MENU_SEPARATOR | MENU_GRAYED)) continue;
    if (answer == item.text || answer == Int64ToString(number)) return item.id;
  }
  return -1;
}

void ConsoleDialogs::EngineBox(void*, const u16& text) {
  u16 block = ToTerminalLines(text);
  if (block.empty() || block.back() != u'\n') block.push_back(u'\n');
  WriteText(Stream::Err, block);
}

void ConsoleDialogs::ErrorBox(void* owner, const u16& lead, const std::vector<ErrorReport>& reports) {
  u16 text = lead;
  for (const ErrorReport& r : reports)
    text += u"(pos " + Int64ToString(r.pos) + u", line " + Int64ToString(r.line) + u", column " +
            Int64ToString(r.column) + u") : " + r.message + u", code snippet:\"" + r.snippet + u"\"\r\n";
  EngineBox(owner, text);
}

}  // namespace zun
