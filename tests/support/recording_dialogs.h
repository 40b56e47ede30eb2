// The dialogs of the tests: they record every dialog in transcript form and
// answer from a list of scripted answers.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "tests/support/transcript.h"

namespace zun::golden {

class RecordingDialogs : public IScriptDialogs {
 public:
  // Answers: for boxes a button name, for input boxes "text<TAB>OK|Cancel",
  // for menus the chosen item's text ("-" for none). Missing answers take the
  // first button, Cancel, or no choice.
  explicit RecordingDialogs(std::deque<std::string> answers = {}) : answers_(std::move(answers)) {}

  static std::deque<std::string> AnswersOf(const std::vector<Entry>& expected);

  int MessageBox(void* owner, const u16& text, const u16& caption, uint32_t type) override;
  u16 InputBox(void* owner, const u16& question, bool multiline, int& button) override;
  int ShowMenu(void* owner, const std::vector<MenuItem>& items) override;

  std::vector<Entry> entries;
  std::string Transcript() const { return FormatTranscript(entries); }
  // The texts of the boxes alone, for short assertions.
  std::vector<std::string> BoxTexts() const;

 private:
  bool NextAnswer(std::string& out);
  std::deque<std::string> answers_;
};

}  // namespace zun::golden
