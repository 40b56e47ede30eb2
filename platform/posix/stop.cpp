// Ctrl+C and termination signals, turned into a request to end the run.
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include "platform/stop.h"

namespace zun::platform {

namespace {

// The mark: a path written before the flag that says it is there.
char g_temporary[4096];
volatile sig_atomic_t g_temporaryMarked = 0;

void OnInterrupt(int) { Interrupted(); }

}  // namespace

void StopOnInterrupts() {
  struct sigaction sa;
  memset(&sa, 0, sizeof sa);
  sa.sa_handler = OnInterrupt;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no restart: a blocking read or write returns and looks at the stop
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
}

void ExitNow(int code, const char* message) {
  if (g_temporaryMarked) unlink(g_temporary);
  ssize_t ignored = write(2, message, strlen(message));
  (void)ignored;
  _exit(code);
}

TemporaryFileMark::TemporaryFileMark(const char* path) {
  size_t n = strlen(path);
  if (n >= sizeof g_temporary) return;
  memcpy(g_temporary, path, n + 1);
  g_temporaryMarked = 1;
}

TemporaryFileMark::~TemporaryFileMark() { g_temporaryMarked = 0; }

}  // namespace zun::platform
