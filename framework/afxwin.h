// The small Win32 application framework the runner and its dialogs derive
// from: an application object, windows, modal dialogs from templates, menus.
// Only what the runner uses.
#pragma once

#include <windows.h>

#include <string>

#include "loader/command_line.h"

namespace zun {

class CWnd {
 public:
  CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  virtual ~CWnd() = default;

  HWND GetSafeHwnd() const { return m_hWnd; }
  BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
  void SetDlgItemText(int id, const std::wstring& text) { ::SetDlgItemTextW(m_hWnd, id, text.c_str()); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL DestroyWindow();

  HWND m_hWnd = nullptr;
};

class CMenu {
 public:
  CMenu() = default;
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;
  ~CMenu() { DestroyMenu(); }
  BOOL CreatePopupMenu();
  BOOL AppendMenu(UINT flags, UINT_PTR id, const wchar_t* text) { return ::AppendMenuW(m_hMenu, flags, id, text); }
  void Attach(HMENU menu) { m_hMenu = menu; }
  HMENU Detach();
  BOOL DestroyMenu();

  HMENU m_hMenu = nullptr;
};

// A modal dialog on a dialog template. The dialog procedure forwards the
// messages below to the virtual handlers; a handler that returns false lets
// the dialog manager do its default processing.
class CDialog : public CWnd {
 public:
  CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}
  INT_PTR DoModal();
  void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
  virtual bool OnSysCommand(UINT id, LPARAM lParam) { return false; }
  virtual bool OnPaint() { return false; }
  virtual HCURSOR OnQueryDragIcon() { return nullptr; }
  virtual bool OnWindowPosChanging(WINDOWPOS* pos) { return false; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;
};

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp() = default;
  virtual BOOL InitInstance() { return TRUE; }
  // The exit code when InitInstance returned false.
  virtual int ExitInstance() { return 0; }
  // Runs the application: InitInstance, then the message loop when it
  // returned true. Returns the exit code.
  int Run();

  void SetRegistryKey(const wchar_t* key) { m_strRegistryKey = key; }
  void ParseCommandLine(CCommandLineInfo& info);

  HINSTANCE m_hInstance = nullptr;
  CWnd* m_pMainWnd = nullptr;
  std::wstring m_strRegistryKey;  // kept for the record; nothing is stored
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();

}  // namespace zun
