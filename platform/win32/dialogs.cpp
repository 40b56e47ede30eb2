// The platform's dialogs on Windows: the system message box. The input box
// and the popup menu arrive with their built-ins.
#include <windows.h>

#include "platform/win32/dialogs.h"

#include "platform/win32/wide.h"

namespace zun {

int Win32Dialogs::MessageBox(void* owner, const u16& text, const u16& caption, uint32_t type) {
  return MessageBoxW(static_cast<HWND>(owner), ToWide(text).c_str(), ToWide(caption).c_str(), type);
}

u16 Win32Dialogs::InputBox(void*, const u16&, bool, int& button) {
  button = ID_CANCEL;
  return u16();
}

int Win32Dialogs::ShowMenu(void*, const std::vector<MenuItem>&) { return -1; }

IScriptDialogs& DefaultDialogs() {
  static Win32Dialogs dialogs;
  return dialogs;
}

}  // namespace zun
