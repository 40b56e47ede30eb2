// The small application framework: the application object, modal dialogs and their messages.
#include "framework/afxwin.h"

#include "platform/arguments.h"
#include "platform/win32/placement.h"
#include "platform/win32/wide.h"

namespace zun {

namespace {
CWinApp* g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }
HINSTANCE AfxGetInstanceHandle() { return GetModuleHandleW(nullptr); }

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  BOOL ok = ::DestroyWindow(m_hWnd);
  m_hWnd = nullptr;
  return ok;
}

BOOL CMenu::CreatePopupMenu() {
  DestroyMenu();
  m_hMenu = ::CreatePopupMenu();
  return m_hMenu != nullptr;
}

HMENU CMenu::Detach() {
  HMENU m = m_hMenu;
  m_hMenu = nullptr;
  return m;
}

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  BOOL ok = ::DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
  return ok;
}

INT_PTR CDialog::DoModal() {
  HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
  return DialogBoxParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), parent, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

bool CDialog::OnCommand(WPARAM wParam, LPARAM) {
  switch (LOWORD(wParam)) {
    case IDOK: OnOK(); return true;
    case IDCANCEL: OnCancel(); return true;
    default: return false;
  }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CDialog*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    self->m_hWnd = hwnd;
    // Dialogs open over their owner, or where the person is looking: placed
    // before OnInitDialog, which may show them.
    CenterOnOwnerOrCursor(hwnd, GetWindow(hwnd, GW_OWNER));
    return self->OnInitDialog();
  }
  auto* self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  switch (msg) {
    case WM_COMMAND: return self->OnCommand(wParam, lParam);
    case WM_SYSCOMMAND: return self->OnSysCommand(static_cast<UINT>(wParam), lParam);
    case WM_PAINT: return self->OnPaint();
    case WM_QUERYDRAGICON: {
      HCURSOR icon = self->OnQueryDragIcon();
      if (!icon) return FALSE;
      SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(icon));
      return TRUE;
    }
    case WM_WINDOWPOSCHANGING: return self->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
    case WM_NCDESTROY: self->m_hWnd = nullptr; return FALSE;
    default: return FALSE;
  }
}

CWinApp::CWinApp() { g_app = this; }

int CWinApp::Run() {
  m_hInstance = AfxGetInstanceHandle();
  if (!InitInstance()) return ExitInstance();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
  zun::ParseCommandLine(info, SplitCommandLine(FromWide(GetCommandLineW())));
}

}  // namespace zun
