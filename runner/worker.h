// The worker thread that runs the script.
#pragma once

#include <windows.h>

#include "engine/engine.h"

namespace zun {

// Everything one run needs. The dialog fills it in; the worker owns it from
// StartWorker on, so nothing is shared between the two threads afterwards.
struct WorkerJob {
  EZunScriptEngine* engine = nullptr;  // the process's one engine
  u16 scriptPath;
  u16 scriptText;             // decoded
  bool deleteScript = false;  // the "del" switch: delete the file after the run
  HWND owner = nullptr;       // owns the script's dialogs; gets Exit when the run ends
};

// Starts the worker at normal priority with the default stack size. The
// owner gets the Exit command when the worker ends, however it ends. The
// run's exit status is the worker thread's exit code.
bool StartWorker(WorkerJob job);
// The run's exit status once the dialog has ended: the worker's own, when it
// has ended or ends within waitMs (it ends right after posting Exit). False
// when no worker started or it still runs.
bool WorkerExitStatus(DWORD waitMs, DWORD& status);

}  // namespace zun
