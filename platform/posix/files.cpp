// The file system on POSIX: paths are UTF-8, the ANSI code page is Windows-1252.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/files.h"
#include "platform/stop.h"

namespace zun::platform {

bool ReadOnlyFile::Open(const u16& path) {
  Close();
  int fd = ::open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return false;
  }
  hFile = fd;
  return true;
}

int ReadOnlyFile::Read(void* buffer, int size) {
  for (;;) {
    ssize_t n = ::read(static_cast<int>(hFile), buffer, static_cast<size_t>(size));
    if (n >= 0) return static_cast<int>(n);
    if (errno != EINTR || StopRequested()) return -1;  // a pipe may never deliver
  }
}

int64_t ReadOnlyFile::Size() const {
  struct stat st {};
  return hFile >= 0 && fstat(static_cast<int>(hFile), &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

void ReadOnlyFile::Close() {
  if (hFile >= 0) ::close(static_cast<int>(hFile));
  hFile = -1;
}

namespace {

// Windows-1252: 0x80..0x9F differ from Latin-1; the five holes map to
// themselves, as the Windows conversion does.
const char16_t k80[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                          0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                          0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

u16 FullPathOf(const u16& path) {
  std::unique_ptr<char, decltype(&free)> real(::realpath(ToUtf8(path).c_str(), nullptr), &free);
  return real ? FromUtf8(real.get()) : path;
}

u16 AnsiToUtf16(const char* bytes, size_t count) {
  u16 out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    out.push_back(c >= 0x80 && c < 0xA0 ? k80[c - 0x80] : static_cast<char16_t>(c));
  }
  return out;
}

std::string Utf16ToAnsi(u16view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    char byte = '?';
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      byte = static_cast<char>(c);
    } else {
      for (int k = 0; k < 32; ++k)
        if (k80[k] == c) byte = static_cast<char>(0x80 + k);
      // A surrogate pair is one character: one "?".
      if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) ++i;
    }
    out.push_back(byte);
  }
  return out;
}

}  // namespace zun::platform
