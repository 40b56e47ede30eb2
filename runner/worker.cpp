#include "runner/worker.h"
#include "builtins/table.h"

#include <new>

#include "platform/files.h"
#include "framework/script_dialogs.h"
#include "platform/win32/handles.h"
#include "loader/exit_status.h"
#include "runner/zunrun_app.h"

namespace zun {

namespace {

UniqueHandle g_worker;
RegisteredWait g_workerWatch;

// The script's dialogs are owned by the runner's (hidden) dialog.
class RunnerDialogs : public Win32Dialogs {
 public:
  void* MainWindow() override { return g_hDialog; }
};

DWORD WINAPI WorkerMain(LPVOID) {
  DWORD status = kScriptError;
  try {
    static RunnerDialogs dialogs;
    g_engine.SetDialogs(&dialogs);
    g_engine.SetBuiltinLookup(FindBuiltin);
    g_engine.Initialize();
    g_engine.SetScript(g_strScriptText);
    g_engine.Run();
    status = g_engine.IsError() ? kScriptError : kRanClean;
    if (g_bDeleteScript) platform::DeleteFilePath(g_strScriptPath);
  } catch (const std::bad_alloc&) {
    // Memory ran out outside a statement (a statement reports it itself).
  }
  PostMessageW(g_hDialog, WM_COMMAND, IDOK, 0);
  return status;
}

// Ends the dialog when the worker ends without posting Exit (should its
// thread die): the process never waits for a run that is over.
VOID CALLBACK OnWorkerEnded(PVOID dialog, BOOLEAN) { PostMessageW(static_cast<HWND>(dialog), WM_COMMAND, IDOK, 0); }

}  // namespace

bool StartWorker() {
  DWORD id = 0;
  g_worker.reset(CreateThread(nullptr, 0, WorkerMain, nullptr, 0, &id));
  if (!g_worker) return false;
  HANDLE wait = nullptr;
  if (RegisterWaitForSingleObject(&wait, g_worker.get(), OnWorkerEnded, g_hDialog, INFINITE, WT_EXECUTEONLYONCE))
    g_workerWatch.reset(wait);
  return true;
}

bool WorkerExitStatus(DWORD waitMs, DWORD& status) {
  if (!g_worker || WaitForSingleObject(g_worker.get(), waitMs) != WAIT_OBJECT_0) return false;
  g_workerWatch.reset();
  DWORD code = kScriptError;
  GetExitCodeThread(g_worker.get(), &code);
  status = code == kRanClean ? kRanClean : kScriptError;
  return true;
}

}  // namespace zun
