// The worker thread that runs the script.
#pragma once

namespace zun {

// Starts the worker at normal priority with the default stack size.
bool StartWorker();
bool WorkerStillRunning();

}  // namespace zun
