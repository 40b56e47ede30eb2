// The request to stop, the same on every platform; platform/*/stop.cpp
// installs the handlers that make it and ends the process when asked to.
#include "platform/stop.h"

#include <atomic>

namespace zun::platform {

namespace {

// Lock-free, so that the interrupt handlers may touch them.
std::atomic<bool> g_stop{false};
std::atomic<int> g_unanswered{0};

}  // namespace

void RequestStop() { g_stop = true; }

void ClearStop() {
  g_stop = false;
  g_unanswered = 0;
}

bool StopRequested() { return g_stop.load(); }

void Interrupted() {
  if (g_stop.load() && ++g_unanswered >= 2) ExitNow(1, "zunrunc: the run did not stop; ended\n");
  g_stop = true;
}

}  // namespace zun::platform
