#include "runner/worker.h"

#include <objbase.h>
#include <windows.h>

#include "platform/files.h"
#include "platform/win32/dialogs.h"
#include "runner/zunrun_app.h"

namespace zun {

namespace {

HANDLE g_worker = nullptr;

// The script's dialogs are owned by the runner's (hidden) dialog.
class RunnerDialogs : public Win32Dialogs {
 public:
  void* MainWindow() override { return g_hDialog; }
};

DWORD WINAPI WorkerMain(LPVOID) {
  CoInitialize(nullptr);  // the result is ignored, as before
  static RunnerDialogs dialogs;
  g_engine.SetDialogs(&dialogs);
  g_engine.Initialize();
  g_engine.SetScript(g_strScriptText);
  g_engine.Run();
  if (g_bDeleteScript) platform::DeleteFilePath(g_strScriptPath);
  PostMessageW(g_hDialog, WM_COMMAND, IDOK, 0);
  return 0;
}

}  // namespace

bool StartWorker() {
  DWORD id = 0;
  g_worker = CreateThread(nullptr, 0, WorkerMain, nullptr, 0, &id);
  return g_worker != nullptr;
}

bool WorkerStillRunning() {
  return g_worker && WaitForSingleObject(g_worker, 0) == WAIT_TIMEOUT;
}

}  // namespace zun
