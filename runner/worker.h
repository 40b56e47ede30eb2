// The worker thread that runs the script.
#pragma once

#include <windows.h>

namespace zun {

// Starts the worker at normal priority with the default stack size. The
// dialog gets the Exit command when the worker ends, however it ends.
bool StartWorker();
// The run's exit status once the dialog has ended: the worker's own, when it
// has ended or ends within waitMs (it ends right after posting Exit). False
// when no worker started or it still runs.
bool WorkerExitStatus(DWORD waitMs, DWORD& status);

}  // namespace zun
