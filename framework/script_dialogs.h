// The Win32 dialogs of scripts: the system message box, the input box and
// the popup menu; hosts derive to name their owner window.
#pragma once

#include "platform/dialogs.h"
#include "platform/win32/input_box.h"

namespace zun {

class Win32Dialogs : public IScriptDialogs {
 public:
  int MessageBox(void* owner, const u16& text, const u16& caption, uint32_t type) override;
  u16 InputBox(void* owner, const u16& question, bool multiline, int& button) override {
    return ShowInputBox(owner, question, multiline, button);
  }
  int ShowMenu(void* owner, const std::vector<MenuItem>& items) override;
};

}  // namespace zun
