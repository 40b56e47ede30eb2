// Ctrl+C and console close events, turned into a request to end the run.
#include <windows.h>

#include <atomic>
#include <cstring>
#include <cwchar>

#include "platform/stop.h"

namespace zun::platform {

namespace {

wchar_t g_temporary[MAX_PATH + 1];
std::atomic<bool> g_temporaryMarked{false};

BOOL WINAPI OnConsoleEvent(DWORD) {
  Interrupted();
  return TRUE;
}

}  // namespace

void StopOnInterrupts() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

void ExitNow(int code, const char* message) {
  if (g_temporaryMarked) DeleteFileW(g_temporary);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), message, static_cast<DWORD>(std::strlen(message)), &written, nullptr);
  // Not ExitProcess: another thread may be inside the engine.
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
  for (;;) Sleep(INFINITE);
}

TemporaryFileMark::TemporaryFileMark(const wchar_t* path) {
  size_t n = std::wcslen(path);
  if (n > MAX_PATH) return;
  std::wmemcpy(g_temporary, path, n + 1);
  g_temporaryMarked = true;
}

TemporaryFileMark::~TemporaryFileMark() { g_temporaryMarked = false; }

}  // namespace zun::platform
