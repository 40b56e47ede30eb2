#include "runner/zunrun_app.h"

#include <commctrl.h>

#include "runner/zunrun_dlg.h"
#include "runner/worker.h"

namespace zun {

CZunRunApp theApp;
EZunScriptEngine g_engine;
u16 g_strScriptPath;
u16 g_strScriptText;
bool g_bDeleteScript = false;
HWND g_hDialog = nullptr;

BOOL CZunRunApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  CWinApp::InitInstance();
  // Hosting ActiveX controls in dialogs needs nothing of this framework.
  SetRegistryKey(L"Local AppWizard-Generated Applications");
  CZunRunDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();
  m_pMainWnd = nullptr;
  // A script may have ended the dialog while it still runs (by sending it the
  // Exit command): end the process here, before the engine it uses is
  // destroyed under it.
  if (WorkerStillRunning()) TerminateProcess(GetCurrentProcess(), 0);
  return FALSE;
}

}  // namespace zun

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) { return zun::theApp.Run(); }
