// The console host's dialogs: script output on stdout, the engine's boxes on
// stderr, answers read from stdin.
#pragma once

#include "platform/dialogs.h"

namespace zun {

class ConsoleDialogs : public IScriptDialogs {
 public:
  u16 AppTitle() override { return u"zunrunc"; }
  int MessageBox(void* owner, const u16& text, const u16& caption, uint32_t type) override;
  u16 InputBox(void* owner, const u16& question, bool multiline, int& button) override;
  int ShowMenu(void* owner, const std::vector<MenuItem>& items) override;
  void EngineBox(void* owner, const u16& text) override;
  // Each report with its line and column: "(pos N, line L, column C) : ...".
  void ErrorBox(void* owner, const u16& lead, const std::vector<ErrorReport>& reports) override;
};

// CR LF as the terminal's line break.
u16 ToTerminalLines(const u16& text);

}  // namespace zun
