// The standard streams and the program's arguments and path on Windows.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/arguments.h"
#include "platform/console.h"
#include "platform/win32/wide.h"

namespace zun::platform {

std::vector<u16> ProgramArguments(int, char**) { return SplitCommandLine(FromWide(GetCommandLineW())); }

u16 ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return u16();
    if (n < path.size()) return FromWide(path.substr(0, n));
    path.resize(path.size() * 2);  // cut off: try a larger buffer
  }
}

namespace {

DWORD g_error[2];  // the first error of standard output and standard error

DWORD& ErrorOf(Stream stream) { return g_error[stream == Stream::Out ? 0 : 1]; }

bool Failed(Stream stream) {
  DWORD code = GetLastError();
  ErrorOf(stream) = code ? code : ERROR_WRITE_FAULT;
  return false;
}

}  // namespace

void PrepareStandardStreams() {
  for (Stream s : {Stream::Out, Stream::Err}) {
    HANDLE h = GetStdHandle(s == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (h == nullptr || h == INVALID_HANDLE_VALUE) ErrorOf(s) = ERROR_INVALID_HANDLE;
  }
}

bool WriteText(Stream stream, const u16& text) {
  if (ErrorOf(stream)) return false;
  HANDLE h = GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0, written = 0;
  std::wstring w = ToWide(text);
  if (GetConsoleMode(h, &mode)) {
    return WriteConsoleW(h, w.data(), static_cast<DWORD>(w.size()), &written, nullptr) || Failed(stream);
  }
  UINT cp = GetConsoleOutputCP();
  if (cp == 0) cp = CP_UTF8;
  int n = WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), bytes.data(), n, nullptr, nullptr);
  if (!WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) return Failed(stream);
  if (written != bytes.size()) {
    SetLastError(ERROR_DISK_FULL);
    return Failed(stream);
  }
  return true;
}

u16 StreamError(Stream stream) {
  DWORD code = ErrorOf(stream);
  if (!code) return u16();
  if (code == ERROR_INVALID_HANDLE) return u"it is closed";
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  u16 out = text ? FromWide(text) : u"error " + Int64ToString(code);
  LocalFree(text);
  while (!out.empty() && (out.back() == u'\n' || out.back() == u'\r' || out.back() == u'.')) out.pop_back();
  return out;
}

int ReadInput(void* buffer, int size) {
  DWORD got = 0;
  if (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, static_cast<DWORD>(size), &got, nullptr))
    return static_cast<int>(got);
  return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;  // a pipe whose writer is done has ended
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
