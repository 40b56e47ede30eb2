// The worker thread: runs the job's script on the engine and tells the dialog when it ends.
#include "runner/worker.h"
#include "builtins/table.h"

#include <memory>
#include <new>

#include "framework/script_dialogs.h"
#include "loader/exit_status.h"
#include "platform/files.h"
#include "platform/win32/handles.h"

namespace zun {

namespace {

UniqueHandle g_worker;
RegisteredWait g_workerWatch;

// The script's dialogs are owned by the runner's (hidden) dialog.
class RunnerDialogs : public Win32Dialogs {
 public:
  explicit RunnerDialogs(HWND owner) : m_hOwner(owner) {}
  void* MainWindow() override { return m_hOwner; }

 private:
  HWND m_hOwner;
};

DWORD WINAPI WorkerMain(LPVOID param) {
  std::unique_ptr<WorkerJob> job(static_cast<WorkerJob*>(param));
  DWORD status = kScriptError;
  try {
    // The engine keeps a pointer to its dialogs for as long as it lives,
    // which may outlast this thread by the process's last moments.
    static RunnerDialogs dialogs(job->owner);
    EZunScriptEngine& engine = *job->engine;
    engine.SetDialogs(&dialogs);
    engine.SetBuiltinLookup(FindBuiltin, FindIntrinsic);
    engine.Initialize();
    engine.SetScript(std::move(job->scriptText));
    engine.Run();
    status = engine.IsError() ? kScriptError : kRanClean;
    if (job->deleteScript) platform::DeleteFilePath(job->scriptPath);
  } catch (const std::bad_alloc&) {
    // Memory ran out outside a statement (a statement reports it itself).
  }
  PostMessageW(job->owner, WM_COMMAND, IDOK, 0);
  return status;
}

// Ends the dialog when the worker ends without posting Exit (should its
// thread die): the process never waits for a run that is over.
VOID CALLBACK OnWorkerEnded(PVOID dialog, BOOLEAN) { PostMessageW(static_cast<HWND>(dialog), WM_COMMAND, IDOK, 0); }

}  // namespace

bool StartWorker(WorkerJob job) {
  HWND owner = job.owner;
  auto owned = std::make_unique<WorkerJob>(std::move(job));
  DWORD id = 0;
  g_worker.reset(CreateThread(nullptr, 0, WorkerMain, owned.get(), 0, &id));
  if (!g_worker) return false;
  owned.release();  // the worker's now
  HANDLE wait = nullptr;
  if (RegisterWaitForSingleObject(&wait, g_worker.get(), OnWorkerEnded, owner, INFINITE, WT_EXECUTEONLYONCE))
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
