// The request to stop, the same on every platform; platform/*/stop.cpp
// installs the handlers that make it and ends the process when asked to.
#include "platform/stop.h"

#include <atomic>

namespace zun::platform {

std::atomic<bool> g_stopRequested{false};

namespace {

// Lock-free, so that the interrupt handlers may touch it.
std::atomic<int> g_unanswered{0};

}  // namespace

void RequestStop() { g_stopRequested = true; }

void ClearStop() {
  g_stopRequested = false;
  g_unanswered = 0;
}

void Interrupted() {
  if (g_stopRequested.load() && ++g_unanswered >= 2) ExitNow(1, "zunrunc: the run did not stop; ended\n");
  g_stopRequested = true;
}

}  // namespace zun::platform
