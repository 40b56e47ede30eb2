// File reading for the script loader, and the ANSI code page.
#pragma once

#include <cstdint>
#include <string>

#include "engine/text.h"

namespace zun::platform {

// An open file for reading; closes itself.
class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  ~ReadOnlyFile() { Close(); }
  // Opens an existing file, sharing it with readers only: a file that
  // another handle holds open for writing is refused (Windows).
  bool Open(const u16& path);
  // Bytes read, 0 at the end of the file, -1 on a read error.
  int Read(void* buffer, int size);
  void Close();

 private:
  intptr_t handle_ = -1;
};

bool DeleteFilePath(const u16& path);

// The system's ANSI code page (Windows-1252 on POSIX).
u16 AnsiToUtf16(const char* bytes, size_t count);

}  // namespace zun::platform
