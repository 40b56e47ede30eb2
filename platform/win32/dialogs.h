// The Win32 dialogs of scripts; hosts derive to name their owner window.
#pragma once

#include "platform/dialogs.h"

namespace zun {

class Win32Dialogs : public IScriptDialogs {
 public:
  int MessageBox(void* owner, const u16& text, const u16& caption, uint32_t type) override;
  u16 InputBox(void* owner, const u16& question, bool multiline, int& button) override;
  int ShowMenu(void* owner, const std::vector<MenuItem>& items) override;
};

}  // namespace zun
