// The file built-ins' file system on Windows.
#include <windows.h>

#include "platform/files.h"
#include "platform/stop.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace zun::platform {

const char16_t kPathSeparator = u'\\';

namespace {

constexpr DWORD kClearable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

int64_t ToTimeValue(const FILETIME& ft) {
  ULARGE_INTEGER t;
  t.LowPart = ft.dwLowDateTime;
  t.HighPart = ft.dwHighDateTime;
  constexpr int64_t kEpochDifference = 11644473600LL;  // 1601 to 1970, in seconds
  return static_cast<int64_t>(t.QuadPart / 10000000ULL) - kEpochDifference;
}

std::wstring FolderOf(const std::wstring& path) {
  DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return std::wstring();
  std::wstring full(n, L'\0');
  wchar_t* filePart = nullptr;
  n = GetFullPathNameW(path.c_str(), n, full.data(), &filePart);
  if (n == 0 || !filePart) return std::wstring();
  return full.substr(0, static_cast<size_t>(filePart - full.data()));
}

// Writes in slices and gives up when the run is asked to stop, so that a
// huge write ends within a moment (its temporary file is then removed).
constexpr DWORD kWriteSlice = 1u << 20;

bool WriteAndFlush(const std::wstring& path, const void* bytes, size_t count) {
  UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const char* p = static_cast<const char*>(bytes);
  while (count > 0) {
    if (StopRequested()) return false;
    DWORD slice = count < kWriteSlice ? static_cast<DWORD>(count) : kWriteSlice;
    DWORD written = 0;
    if (!WriteFile(file.get(), p, slice, &written, nullptr) || written != slice) return false;
    p += slice;
    count -= slice;
  }
  if (!FlushFileBuffers(file.get())) return false;
  return CloseHandle(file.release()) != 0;
}

DWORD CALLBACK CopyProgress(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD, HANDLE, HANDLE,
                            LPVOID) {
  return StopRequested() ? PROGRESS_CANCEL : PROGRESS_CONTINUE;
}

}  // namespace

bool PathExists(const u16& path) { return Attributes(ToWide(path)) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectoryPath(const u16& path) {
  DWORD a = Attributes(ToWide(path));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FindFileInfo(const u16& path, FileInfo& info) {
  WIN32_FIND_DATAW data;
  if (!FindHandle(FindFirstFileW(ToWide(path).c_str(), &data))) return false;
  info.bDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  info.creationTime = ToTimeValue(data.ftCreationTime);
  info.writeTime = ToTimeValue(data.ftLastWriteTime);
  info.accessTime = ToTimeValue(data.ftLastAccessTime);
  info.size = info.bDirectory ? 0 : (static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow);
  return true;
}

bool ClearFileAttributes(const u16& path) {
  std::wstring p = ToWide(path);
  DWORD a = Attributes(p);
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  if (!(a & kClearable)) return true;
  // Nothing left is written as "normal": 0 would not be accepted.
  DWORD rest = a & ~kClearable;
  return SetFileAttributesW(p.c_str(), rest ? rest : FILE_ATTRIBUTE_NORMAL) != 0;
}

bool DeleteFilePath(const u16& path) { return DeleteFileW(ToWide(path).c_str()) != 0; }

bool RenamePath(const u16& from, const u16& to) { return _wrename(ToWide(from).c_str(), ToWide(to).c_str()) == 0; }

bool CopyFilePath(const u16& from, const u16& to, bool failIfExists) {
  return CopyFileExW(ToWide(from).c_str(), ToWide(to).c_str(), CopyProgress, nullptr, nullptr,
                     failIfExists ? COPY_FILE_FAIL_IF_EXISTS : 0) != 0;
}

bool MovePath(const u16& from, const u16& to, bool replace) {
  std::wstring source = ToWide(from);
  std::wstring target = ToWide(to);
  if (!replace) return MoveFileW(source.c_str(), target.c_str()) != 0;
  DWORD old = Attributes(target);
  if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_DIRECTORY)) return false;
  if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY) && !ClearFileAttributes(to)) return false;
  if (MoveFileExW(source.c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
    return true;
  if (old != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(target.c_str(), old);
  return false;
}

bool CreateDirectoryPath(const u16& path) { return CreateDirectoryW(ToWide(path).c_str(), nullptr) != 0; }

bool ListDirectoryNames(const u16& folder, std::vector<u16>& names) {
  WIN32_FIND_DATAW data;
  FindHandle search(FindFirstFileW((ToWide(folder) + L"*.*").c_str(), &data));
  if (!search) return false;
  do {
    std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(FromWide(name));
  } while (FindNextFileW(search.get(), &data));
  return true;
}

bool ReplaceFileContents(const u16& path, const void* bytes, size_t count) {
  std::wstring target = ToWide(path);
  DWORD old = Attributes(target);
  if (old != INVALID_FILE_ATTRIBUTES && (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) return false;
  std::wstring folder = FolderOf(target);
  wchar_t temp[MAX_PATH + 1];
  if (folder.empty() || folder.size() > MAX_PATH - 14 || !GetTempFileNameW(folder.c_str(), L"zun", 0, temp))
    return false;
  TemporaryFileMark mark(temp);
  bool ok = WriteAndFlush(temp, bytes, count);
  if (ok && old != INVALID_FILE_ATTRIBUTES) {
    // ReplaceFile keeps the target's attributes, times and security.
    ok = ReplaceFileW(target.c_str(), temp, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    if (!ok && MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      SetFileAttributesW(target.c_str(), old);
      ok = true;
    }
  } else if (ok) {
    ok = MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
  if (!ok) DeleteFileW(temp);
  return ok;
}

}  // namespace zun::platform
