// The standard streams and the program's arguments and path on POSIX.
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <string>

#include "platform/console.h"

namespace zun::platform {

namespace {

int g_error[2];  // the first error of standard output and standard error

int& ErrorOf(Stream stream) { return g_error[stream == Stream::Out ? 0 : 1]; }

}  // namespace

std::vector<u16> ProgramArguments(int argc, char** argv) {
  std::vector<u16> args;
  for (int i = 1; i < argc; ++i) args.push_back(FromUtf8(argv[i]));
  return args;
}

void PrepareStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    int null = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);  // the lowest free number: fd
    if (null >= 0 && null != fd) {
      dup2(null, fd);
      close(null);
    }
    if (fd == 1) ErrorOf(Stream::Out) = EBADF;
    if (fd == 2) ErrorOf(Stream::Err) = EBADF;
  }
  signal(SIGPIPE, SIG_IGN);
}

u16 ProgramPath() {
  std::string path(4096, '\0');
  ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  return n > 0 && static_cast<size_t>(n) < path.size() ? FromUtf8(path.substr(0, static_cast<size_t>(n))) : u16();
}

bool WriteText(Stream stream, const u16& text) {
  int& error = ErrorOf(stream);
  if (error) return false;
  std::string bytes = ToUtf8(text);
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = write(stream == Stream::Out ? 1 : 2, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : EIO;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

u16 StreamError(Stream stream) {
  int error = ErrorOf(stream);
  if (!error) return u16();
  return error == EBADF ? u16(u"it is closed") : FromUtf8(strerror(error));
}

int ReadInput(void* buffer, int size) {
  for (;;) {
    ssize_t n = read(0, buffer, static_cast<size_t>(size));
    if (n >= 0) return static_cast<int>(n);
    if (errno != EINTR) return -1;
  }
}

bool ReadLine(u16& line) {
  std::string bytes;
  if (!std::getline(std::cin, bytes)) return false;
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  line = FromUtf8(bytes);
  return true;
}

}  // namespace zun::platform
