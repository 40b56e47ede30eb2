// The file built-ins' file system on POSIX. "Read-only" is the absence of
// write permission; hidden and system have no meaning here.
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/files.h"
#include "platform/stop.h"

namespace zun::platform {

const char16_t kPathSeparator = u'/';

namespace {

bool Stat(const std::string& path, struct stat& st) { return ::stat(path.c_str(), &st) == 0; }
bool IsReadOnly(const struct stat& st) { return (st.st_mode & 0222) == 0; }

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A symbolic link is written through, as Windows writes through links.
std::string ResolveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  std::unique_ptr<char, decltype(&free)> real(::realpath(path.c_str(), nullptr), &free);
  return real ? std::string(real.get()) : path;
}

// Writes in slices and gives up when the run is asked to stop, so that a
// huge write ends within a moment (its temporary file is then removed).
constexpr size_t kWriteSlice = size_t{1} << 20;

bool WriteAll(int fd, const void* bytes, size_t count) {
  const char* p = static_cast<const char*>(bytes);
  while (count > 0) {
    if (StopRequested()) return false;
    ssize_t n = ::write(fd, p, count < kWriteSlice ? count : kWriteSlice);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

mode_t CurrentUmask() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without the flag: check, then rename.
  struct stat st {};
  if (::lstat(to.c_str(), &st) == 0) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
}

// A temporary file beside the target, filled by `fill`, then renamed onto
// the target (or, with noReplace, only where no target exists yet).
template <typename Fill>
bool WriteViaTemporary(const std::string& target, mode_t mode, bool noReplace, Fill fill) {
  std::string temp = FolderOf(target) + "/.zunrun-XXXXXX";
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  TemporaryFileMark mark(temp.c_str());
  bool ok = fill(fd) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = noReplace ? RenameNoReplace(temp, target) : ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool CopyBytes(int from, int to) {
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(from, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!WriteAll(to, buffer, static_cast<size_t>(n))) return false;
  }
}

// Copies a regular file through a temporary, keeping mode and times.
bool CopyRegularFile(const std::string& from, const std::string& to, bool failIfExists) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat st {};
  bool ok = ::fstat(in, &st) == 0 && S_ISREG(st.st_mode);
  if (ok) {
    ok = WriteViaTemporary(to, st.st_mode & 07777, failIfExists, [&](int out) {
      if (!CopyBytes(in, out)) return false;
      const struct timespec times[2] = {st.st_atim, st.st_mtim};
      return ::futimens(out, times) == 0;
    });
  }
  ::close(in);
  return ok;
}

}  // namespace

bool PathExists(const u16& path) {
  struct stat st {};
  return Stat(ToUtf8(path), st);
}

bool IsDirectoryPath(const u16& path) {
  struct stat st {};
  return Stat(ToUtf8(path), st) && S_ISDIR(st.st_mode);
}

bool FindFileInfo(const u16& path, FileInfo& info) {
  struct statx stx {};
  if (::statx(AT_FDCWD, ToUtf8(path).c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &stx) != 0) return false;
  info.bDirectory = S_ISDIR(stx.stx_mode);
  info.creationTime = (stx.stx_mask & STATX_BTIME) ? stx.stx_btime.tv_sec : stx.stx_ctime.tv_sec;
  info.writeTime = stx.stx_mtime.tv_sec;
  info.accessTime = stx.stx_atime.tv_sec;
  info.size = info.bDirectory ? 0 : stx.stx_size;
  return true;
}

bool ClearFileAttributes(const u16& path) {
  std::string p = ToUtf8(path);
  struct stat st {};
  if (!Stat(p, st)) return false;
  return (st.st_mode & S_IWUSR) || ::chmod(p.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

bool DeleteFilePath(const u16& path) {
  std::string p = ToUtf8(path);
  struct stat st {};
  if (::lstat(p.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  if (!S_ISLNK(st.st_mode) && IsReadOnly(st)) return false;
  return ::unlink(p.c_str()) == 0;
}

bool RenamePath(const u16& from, const u16& to) { return RenameNoReplace(ToUtf8(from), ToUtf8(to)); }

bool CopyFilePath(const u16& from, const u16& to, bool failIfExists) {
  std::string target = ResolveTarget(ToUtf8(to));
  struct stat st {};
  if (Stat(target, st) && (failIfExists || S_ISDIR(st.st_mode) || IsReadOnly(st))) return false;
  return CopyRegularFile(ToUtf8(from), target, failIfExists);
}

bool MovePath(const u16& from, const u16& to, bool replace) {
  std::string source = ToUtf8(from);
  std::string target = ToUtf8(to);
  struct stat st {};
  bool targetExists = ::lstat(target.c_str(), &st) == 0;
  if (targetExists && (!replace || S_ISDIR(st.st_mode))) return false;
  // rename() replaces in one step; a read-only target is replaced as Windows
  // replaces it once its attribute is cleared.
  bool moved = replace ? ::rename(source.c_str(), target.c_str()) == 0 : RenameNoReplace(source, target);
  if (moved || errno != EXDEV) return moved;
  // Another file system: copy, then remove the source.
  if (!CopyRegularFile(source, target, !replace)) return false;
  return ::unlink(source.c_str()) == 0;
}

bool CreateDirectoryPath(const u16& path) { return ::mkdir(ToUtf8(path).c_str(), 0777) == 0; }

bool ListDirectoryNames(const u16& folder, std::vector<u16>& names) {
  DIR* dir = ::opendir(ToUtf8(folder).c_str());
  if (!dir) return false;
  while (const dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(FromUtf8(name));
  }
  ::closedir(dir);
  return true;
}

bool ReplaceFileContents(const u16& path, const void* bytes, size_t count) {
  std::string target = ResolveTarget(ToUtf8(path));
  struct stat st {};
  bool exists = Stat(target, st);
  if (exists && (S_ISDIR(st.st_mode) || IsReadOnly(st))) return false;
  mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
  return WriteViaTemporary(target, mode, false, [&](int fd) { return WriteAll(fd, bytes, count); });
}

}  // namespace zun::platform
