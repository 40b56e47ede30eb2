// Operating-system services on POSIX: the current directory, sleeping (the pause check is inline in system.h).
#include <time.h>
#include <unistd.h>

#include <vector>

#include "platform/system.h"

namespace zun::platform {

u16 CurrentDirectory(size_t maxUnits) {
  std::vector<char> buf(4096);
  for (;;) {
    if (getcwd(buf.data(), buf.size())) break;
    if (buf.size() > (1u << 20)) return u16();
    buf.resize(buf.size() * 2);
  }
  u16 dir = FromUtf8(buf.data());
  return dir.size() < maxUnits ? dir : u16();
}

bool ChangeCurrentDirectory(const u16& path) { return ::chdir(ToUtf8(path).c_str()) == 0; }

void SleepMilliseconds(uint32_t ms) {
  struct timespec ts;
  ts.tv_sec = static_cast<time_t>(ms / 1000);
  ts.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
  while (nanosleep(&ts, &ts) != 0) {}
}

}  // namespace zun::platform
