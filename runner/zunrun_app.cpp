// zunrun.exe's entry point: runs the main dialog and returns the run's exit status.
#include "runner/zunrun_app.h"

#include "loader/exit_status.h"
#include "runner/worker.h"
#include "runner/zunrun_dlg.h"

namespace zun {

namespace {

// How long the process waits for a worker that has posted Exit to end.
constexpr DWORD kWorkerEndMs = 5000;

}  // namespace

CZunRunApp theApp;
EZunScriptEngine g_engine;

BOOL CZunRunApp::InitInstance() {
  // Common controls 6 come with the manifest, loaded when a control of
  // theirs is first made: nothing to initialise before the dialog.
  CWinApp::InitInstance();
  // Hosting ActiveX controls in dialogs needs nothing of this framework.
  SetRegistryKey(L"Local AppWizard-Generated Applications");
  CZunRunDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();
  m_pMainWnd = nullptr;
  DWORD status = kNothingRan;
  if (dlg.RanScript() && !WorkerExitStatus(kWorkerEndMs, status)) {
    // The script ended the dialog itself (by sending it the Exit command)
    // and still runs: end the process here, before the engine it uses is
    // destroyed under it.
    TerminateProcess(GetCurrentProcess(), kRanClean);
  }
  m_nExitStatus = static_cast<int>(status);
  return FALSE;
}

int CZunRunApp::ExitInstance() { return m_nExitStatus; }

}  // namespace zun

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) { return zun::theApp.Run(); }
