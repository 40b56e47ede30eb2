// Operating-system services on Windows: the pause check, the current directory, sleeping.
#include <windows.h>

#include <atomic>
#include <vector>

#include "platform/stop.h"
#include "platform/system.h"
#include "platform/win32/wide.h"

namespace zun::platform {

// The keys, or a host's request (Ctrl+C in zunrunc, a time-out). The keys
// are read at most every 10 ms: a person holds them far longer, and each
// reading is a trip to the system (under Wine, to its server) that a tight
// loop would otherwise pay on every pass. The time of the last reading is
// the process's, not a thread's: MinGW's thread_local costs a call on every
// use, which a loop pays on every pass, and a thread that finds the keys
// read by another less than 10 ms ago reads them 10 ms later.
bool IsPauseAndControlHeld() {
  if (StopRequested()) return true;
  static std::atomic<DWORD> lastRead{0};
  static std::atomic<bool> read{false};
  DWORD now = GetTickCount();
  if (read.load(std::memory_order_relaxed) && now - lastRead.load(std::memory_order_relaxed) < 10) return false;
  read.store(true, std::memory_order_relaxed);
  lastRead.store(now, std::memory_order_relaxed);
  return (GetAsyncKeyState(VK_PAUSE) & 0x8000) != 0 && (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
}

u16 CurrentDirectory(size_t maxUnits) {
  std::vector<wchar_t> buf(maxUnits + 1);
  DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(buf.size()), buf.data());
  if (n == 0 || n >= buf.size()) return u16();
  return FromWide(buf.data());
}

bool ChangeCurrentDirectory(const u16& path) { return SetCurrentDirectoryW(ToWide(path).c_str()) != 0; }

void SleepMilliseconds(uint32_t ms) { ::Sleep(ms); }

}  // namespace zun::platform
