// The tests' dialogs: recorded in transcript form, answered from a list.
#include "tests/support/recording_dialogs.h"

namespace zun::golden {

std::deque<std::string> RecordingDialogs::AnswersOf(const std::vector<Entry>& expected) {
  std::deque<std::string> answers;
  for (const auto& e : expected) {
    if (e.kind == "box" && e.fields.size() >= 4) answers.push_back(e.fields[3]);
    else if (e.kind == "input" && e.fields.size() >= 4) answers.push_back(e.fields[2] + "\t" + e.fields[3]);
    else if (e.kind == "menu" && e.fields.size() >= 2) answers.push_back(e.fields[1]);
    else answers.push_back("");
  }
  return answers;
}

bool RecordingDialogs::NextAnswer(std::string& out) {
  if (answers_.empty()) return false;
  out = answers_.front();
  answers_.pop_front();
  return true;
}

int RecordingDialogs::MessageBox(void*, const u16& text, const u16& caption, uint32_t type) {
  std::vector<int> buttons = MessageBoxButtons(type);
  std::string names;
  for (int b : buttons) names += (names.empty() ? "" : "|") + ToUtf8(ButtonName(b));
  std::string answer;
  int chosen = buttons.front();
  if (NextAnswer(answer))
    for (int b : buttons)
      if (ToUtf8(ButtonName(b)) == answer) chosen = b;
  entries.push_back({"box", {ToUtf8(caption), names, ToUtf8(text), ToUtf8(ButtonName(chosen))}});
  return chosen;
}

u16 RecordingDialogs::InputBox(void*, const u16& question, bool multiline, int& button) {
  std::string answer, typed;
  button = ID_CANCEL;
  if (NextAnswer(answer)) {
    size_t tab = answer.find('\t');
    typed = answer.substr(0, tab);
    if (tab != std::string::npos && answer.substr(tab + 1) == "OK") button = ID_OK;
  }
  entries.push_back(
      {"input", {ToUtf8(question), multiline ? "multiline" : "single", typed, button == ID_OK ? "OK" : "Cancel"}});
  return FromUtf8(typed);
}

int RecordingDialogs::ShowMenu(void*, const std::vector<MenuItem>& items) {
  std::string answer;
  std::vector<MenuLine> lines;
  for (const auto& item : items) {
    bool separator = item.flags & MENU_SEPARATOR;
    lines.push_back({separator ? "" : ToUtf8(item.text), separator, (item.flags & MENU_GRAYED) != 0,
                     (item.flags & MENU_CHECKED) != 0});
  }
  std::string list = FormatMenuLines(lines);
  int chosen = -1;
  if (NextAnswer(answer))
    for (const auto& item : items)
      if (!(item.flags & (MENU_SEPARATOR | MENU_GRAYED)) && ToUtf8(item.text) == answer) chosen = item.id;
  std::string chosenText = "-";
  for (const auto& item : items)
    if (item.id == chosen) chosenText = ToUtf8(item.text);
  entries.push_back({"menu", {list, chosenText}});
  return chosen;
}

std::vector<std::string> RecordingDialogs::BoxTexts() const {
  std::vector<std::string> texts;
  for (const auto& e : entries)
    if (e.kind == "box") texts.push_back(e.fields[2]);
  return texts;
}

}  // namespace zun::golden
