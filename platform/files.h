// The file system as the loader and the file built-ins use it, and the ANSI
// code page. Paths are passed unchanged to the system (UTF-8 on POSIX).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/text.h"

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
  // The file's size in bytes now (it may still grow), or -1.
  int64_t Size() const;
  void Close();

 private:
  intptr_t hFile = -1;
};

// The separator the file calls take: "\\" on Windows, "/" on POSIX.
extern const char16_t kPathSeparator;

// The file's own attributes can be read: a file or a folder exists there.
bool PathExists(const u16& path);
bool IsDirectoryPath(const u16& path);

// What a directory search reports of one entry. Times are seconds since
// 1970 (UTC); the creation time is the change time where a POSIX file
// system does not record it.
struct FileInfo {
  bool bDirectory = false;
  int64_t creationTime = 0;
  int64_t writeTime = 0;
  int64_t accessTime = 0;
  uint64_t size = 0;
};
bool FindFileInfo(const u16& path, FileInfo& info);

// Removes read-only, hidden and system (on POSIX: gives the owner write
// permission). False when the attributes cannot be read or written.
bool ClearFileAttributes(const u16& path);
// Deletes a file; read-only files (no write permission) are not deleted.
bool DeleteFilePath(const u16& path);
// Renames a file or folder; fails when the target exists.
bool RenamePath(const u16& from, const u16& to);
// Copies a file with its attributes; a read-only target is not replaced.
bool CopyFilePath(const u16& from, const u16& to, bool failIfExists);
// Moves a file or folder. With replace, an existing target file is replaced
// in the same call, so it is kept when the move fails; a read-only target
// is made writable for it and restored when the move fails.
bool MovePath(const u16& from, const u16& to, bool replace);
bool CreateDirectoryPath(const u16& path);
// The names of a folder's entries except "." and "..", in the file
// system's order. False when the folder cannot be enumerated.
bool ListDirectoryNames(const u16& folder, std::vector<u16>& names);

// Replaces a file's contents with the bytes, or creates it. The bytes go to
// a temporary file in the same folder first, which replaces the target
// only when all of them were written: on failure the old file is intact.
// A read-only target or a folder fails, as writing into it would.
bool ReplaceFileContents(const u16& path, const void* bytes, size_t count);

// The full path of an existing file or folder, as the system resolves a
// relative one against the current directory; the path itself when that
// fails.
u16 FullPathOf(const u16& path);

// The system's ANSI code page (Windows-1252 on POSIX; unmappable
// characters become "?").
u16 AnsiToUtf16(const char* bytes, size_t count);
std::string Utf16ToAnsi(u16view text);

}  // namespace zun::platform
