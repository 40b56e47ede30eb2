// The file system on Windows, through the wide-character API.
#include <windows.h>

#include "platform/files.h"
#include "platform/win32/wide.h"

namespace zun::platform {

bool ReadOnlyFile::Open(const u16& path) {
  Close();
  HANDLE h = CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  hFile = reinterpret_cast<intptr_t>(h);
  return true;
}

int ReadOnlyFile::Read(void* buffer, int size) {
  DWORD got = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(hFile), buffer, static_cast<DWORD>(size), &got, nullptr)) return -1;
  return static_cast<int>(got);
}

int64_t ReadOnlyFile::Size() const {
  LARGE_INTEGER size{};
  return hFile != -1 && GetFileSizeEx(reinterpret_cast<HANDLE>(hFile), &size) ? size.QuadPart : -1;
}

void ReadOnlyFile::Close() {
  if (hFile != -1) CloseHandle(reinterpret_cast<HANDLE>(hFile));
  hFile = -1;
}

u16 FullPathOf(const u16& path) {
  std::wstring w = ToWide(path);
  DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(w.c_str(), n, full.data(), nullptr);
  return n == 0 || n >= full.size() ? path : FromWide(full.substr(0, n));
}

u16 AnsiToUtf16(const char* bytes, size_t count) {
  if (count == 0) return u16();
  int n = MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(count), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(count), w.data(), n);
  return FromWide(w);
}

std::string Utf16ToAnsi(u16view text) {
  if (text.empty()) return std::string();
  std::wstring w(text.begin(), text.end());
  int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace zun::platform
