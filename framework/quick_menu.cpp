// The popup menu of WinShowMenu and the hidden window that owns it.
#include "framework/quick_menu.h"

#include "platform/win32/wide.h"

namespace zun {

namespace {

const wchar_t kClassName[] = L"ZunRunQuickMenu";

bool RegisterOwnerClass() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kClassName;
  return RegisterClassW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

CQuickMenu::~CQuickMenu() {
  menu.DestroyMenu();
  DestroyWindow();
}

void CQuickMenu::CreateOwnerWindow(HWND parent) {
  if (!RegisterOwnerClass()) {
    MessageBoxW(nullptr, L"nie uda\u0142a si\u0119 rej. okna dla dynamicznego menu. CQuickMenu", L"ZunRun", MB_OK);
    return;
  }
  DWORD style = (parent ? WS_CHILD : WS_POPUP) | WS_OVERLAPPEDWINDOW;
  m_hWnd = CreateWindowExW(0, kClassName, L"noName", style, 100, 100, 100, 100, parent,
                           parent ? reinterpret_cast<HMENU>(1) : nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!m_hWnd)
    MessageBoxW(nullptr, L"nie uda\u0142a si\u0119 kreacja okna dla dynamicznego menu. CQuickMenu", L"ZunRun", MB_OK);
}

void CQuickMenu::AddItem(UINT flags, int32_t id, const u16& text) {
  itemIds.push_back(id);
  itemTexts.push_back(text);
  std::wstring w = ToWide(text);
  menu.AppendMenu(flags, static_cast<UINT_PTR>(id), (flags & MF_SEPARATOR) ? nullptr : w.c_str());
}

// The menu call returns the chosen command itself, so a cancelled menu
// returns at once instead of waiting for an unrelated message.
void CQuickMenu::Track(int x, int y) {
  if (!m_hWnd) return;
  UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY;
  int id = TrackPopupMenu(menu.m_hMenu, flags, x, y, 0, m_hWnd, nullptr);
  for (size_t i = 0; i < itemIds.size(); ++i) {
    if (id <= 0 || itemIds[i] != id) continue;
    nSelectedId = id;
    nSelectedIndex = id - 1;
    strSelected = itemTexts[i];
  }
}

}  // namespace zun
