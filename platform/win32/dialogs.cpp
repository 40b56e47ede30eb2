// The platform's dialogs on Windows: the system message box. The input box
// and the popup menu arrive with their built-ins.
#include <windows.h>

#include "platform/dialogs.h"
#include "platform/win32/wide.h"

namespace zun {

namespace {

class Win32Dialogs : public IScriptDialogs {
 public:
  int MessageBox(void* owner, const u16& text, const u16& caption, uint32_t type) override {
    return MessageBoxW(static_cast<HWND>(owner), ToWide(text).c_str(), ToWide(caption).c_str(), type);
  }
  u16 InputBox(void*, const u16&, bool, int& button) override {
    button = ID_CANCEL;
    return u16();
  }
  int ShowMenu(void*, const std::vector<MenuItem>&) override { return -1; }
};

}  // namespace

IScriptDialogs& DefaultDialogs() {
  static Win32Dialogs dialogs;
  return dialogs;
}

}  // namespace zun
