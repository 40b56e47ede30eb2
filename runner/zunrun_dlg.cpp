// The runner's main dialog: reads the command line, loads the script and starts the worker.
#include "runner/zunrun_dlg.h"

#include "loader/command_line.h"
#include "loader/text_file.h"
#include "platform/win32/wide.h"
#include "resources/resource.h"
#include "runner/worker.h"
#include "runner/zunrun_app.h"

namespace zun {

namespace {

const char16_t kUsageLine2[] = u"zunrun.exe \"c:\\somefolder\\script.zunscript\"";

}  // namespace

u16 CZunRunDlg::UsageText() {
  return u16(u"Usage:") + u"\r\n" + kUsageLine2 + u"\r\n" + u"Or simply double-click a .zunscript file";
}

u16 CZunRunDlg::LoadFailureText(const u16& path) {
  return u"Could not load file:" + path + u"\r\n" + u"Usage:" + u"\r\n" + kUsageLine2;
}

CZunRunDlg::CZunRunDlg(CWnd* parent) : CDialog(IDD_ZUNRUN_DIALOG, parent) {
  m_hIcon = LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

void CZunRunDlg::Explain(const wchar_t* status, const u16& output) {
  SetDlgItemText(IDC_STATUS, status);
  SetDlgItemText(IDC_OUTPUT, ToWide(output));
  m_bKeepHidden = false;
  ShowWindow(SW_SHOWNORMAL);
}

BOOL CZunRunDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_NOACTIVATE);

  HMENU sysMenu = GetSystemMenu(m_hWnd, FALSE);
  wchar_t about[128] = {0};
  if (sysMenu && LoadStringW(AfxGetInstanceHandle(), IDS_ABOUTBOX, about, 128) > 0 && about[0]) {
    AppendMenuW(sysMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(sysMenu, MF_STRING, IDM_ABOUTBOX, about);
  }
  SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  CZunRunCommandLineInfo info;
  AfxGetApp()->ParseCommandLine(info);
  WorkerJob job;
  job.engine = &g_engine;
  job.owner = m_hWnd;
  job.deleteScript = info.IsSwitchTrue(u"del");
  if (info.files.empty()) {
    Explain(L"No script file passed", UsageText());
  } else if (info.files.size() > 1) {
    Explain(L"Too many script files passed", UsageText());
  } else {
    job.scriptPath = info.files.front();
    if (!LoadScriptFile(job.scriptPath, job.scriptText)) {
      Explain(L"Error", LoadFailureText(job.scriptPath));
    } else if (StartWorker(std::move(job))) {
      m_bRanScript = true;
    } else {
      Explain(L"Error", u"Could not start the script's thread");
    }
  }
  return TRUE;
}

void CZunRunDlg::OnOK() { EndDialog(IDOK); }

// The Cancel button is hidden and disabled; Escape and the close box lead
// here too, and none of them closes the dialog.
void CZunRunDlg::OnCancel() {}

bool CZunRunDlg::OnSysCommand(UINT id, LPARAM) {
  if ((id & 0xFFF0) != IDM_ABOUTBOX) return false;
  CDialog about(IDD_ABOUTBOX, this);
  about.DoModal();
  return true;
}

bool CZunRunDlg::OnPaint() {
  if (!IsIconic()) return false;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT rect;
  GetClientRect(m_hWnd, &rect);
  int x = (rect.right - rect.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  int y = (rect.bottom - rect.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, m_hIcon);
  EndPaint(m_hWnd, &ps);
  return true;
}

HCURSOR CZunRunDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

bool CZunRunDlg::OnWindowPosChanging(WINDOWPOS* pos) {
  if (m_bKeepHidden) pos->flags &= ~SWP_SHOWWINDOW;
  return false;
}

}  // namespace zun
