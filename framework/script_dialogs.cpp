// <windows.h> first: the seam's header then undoes its MessageBox macro.
#include <windows.h>

#include "framework/quick_menu.h"
#include "framework/script_dialogs.h"
#include "platform/win32/wide.h"

namespace zun {

int Win32Dialogs::MessageBox(void* owner, const u16& text, const u16& caption, uint32_t type) {
  return MessageBoxW(static_cast<HWND>(owner), ToWide(text).c_str(), ToWide(caption).c_str(), type);
}

int Win32Dialogs::ShowMenu(void* owner, const std::vector<MenuItem>& items) {
  CQuickMenu menu;
  menu.CreateOwnerWindow(static_cast<HWND>(owner));
  for (const MenuItem& item : items) menu.AddItem(item.flags, item.id, item.text);
  POINT cursor{};
  GetCursorPos(&cursor);
  menu.Track(cursor.x, cursor.y);
  return static_cast<int>(menu.nSelectedId);
}

}  // namespace zun
