#include <windows.h>

#include <vector>

#include "platform/system.h"
#include "platform/win32/wide.h"

namespace zun::platform {

bool IsPauseAndControlHeld() {
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

#include <string>

#include "framework/command_line_info.h"

namespace zun::platform {

std::vector<u16> ProgramArguments(int, char**) { return SplitCommandLine(FromWide(GetCommandLineW())); }

void WriteText(Stream stream, const u16& text) {
  HANDLE h = GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0, written = 0;
  std::wstring w = ToWide(text);
  if (GetConsoleMode(h, &mode)) {
    WriteConsoleW(h, w.data(), static_cast<DWORD>(w.size()), &written, nullptr);
    return;
  }
  UINT cp = GetConsoleOutputCP();
  if (cp == 0) cp = CP_UTF8;
  int n = WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), bytes.data(), n, nullptr, nullptr);
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool ReadLine(u16& line) {
  HANDLE h = GetStdHandle(STD_INPUT_HANDLE);
  std::string bytes;
  char c;
  DWORD got = 0;
  bool any = false;
  while (ReadFile(h, &c, 1, &got, nullptr) && got == 1) {
    any = true;
    if (c == '\n') break;
    bytes.push_back(c);
  }
  if (!any) return false;
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  UINT cp = GetConsoleCP();
  if (cp == 0) cp = CP_UTF8;
  int n = MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), n);
  line = FromWide(w);
  return true;
}

}  // namespace zun::platform
