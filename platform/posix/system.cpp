#include <time.h>
#include <unistd.h>

#include <atomic>
#include <vector>

#include "platform/posix/pause.h"
#include "platform/system.h"

namespace zun::platform {

namespace {
std::atomic<bool> g_pauseRequested{false};
}

// There is no global key state without a Windows desktop; a host may stand
// in for Ctrl+Pause (the console host does so on Ctrl+C).
void RequestPause(bool requested) { g_pauseRequested = requested; }
bool IsPauseAndControlHeld() { return g_pauseRequested.load(); }

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
  while (nanosleep(&ts, &ts) != 0) {
  }
}

}  // namespace zun::platform

#include <cstdio>
#include <iostream>
#include <string>

namespace zun::platform {

std::vector<u16> ProgramArguments(int argc, char** argv) {
  std::vector<u16> args;
  for (int i = 1; i < argc; ++i) args.push_back(FromUtf8(argv[i]));
  return args;
}

void WriteText(Stream stream, const u16& text) {
  std::string bytes = ToUtf8(text);
  std::FILE* f = stream == Stream::Out ? stdout : stderr;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fflush(f);
}

bool ReadLine(u16& line) {
  std::string bytes;
  if (!std::getline(std::cin, bytes)) return false;
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  line = FromUtf8(bytes);
  return true;
}

}  // namespace zun::platform
