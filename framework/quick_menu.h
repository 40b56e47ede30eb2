// The popup menu of WinShowMenu: a hidden window of its own owns the menu
// for the duration of one call.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/afxwin.h"
#include "text/text.h"

namespace zun {

class CQuickMenu : public CWnd {
 public:
  CQuickMenu() { menu.CreatePopupMenu(); }
  ~CQuickMenu() override;

  // A hidden child of parent ("noName"), or a hidden top-level window when
  // there is no parent; failures are told in a message box.
  void CreateOwnerWindow(HWND parent);
  void AddItem(UINT flags, int32_t id, const u16& text);
  // Shows the menu at (x, y) and waits until an item is chosen or the menu
  // is cancelled.
  void Track(int x, int y);

  CMenu menu;
  int64_t nSelectedId = -1;
  int32_t nSelectedIndex = -1;
  u16 strSelected;
  std::vector<int32_t> itemIds;
  std::vector<u16> itemTexts;
};

}  // namespace zun
