// The system built-ins on Windows: COM identifiers, shell folders, the
// temporary folder, the clipboard and ShellExecute.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace zun::platform {

u16 NewGuidText() {
  GUID g;
  auto create = ZUN_LAZY(ole32.dll, CoCreateGuid);
  if (!create || FAILED(create(&g))) return u16();
  char text[64];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return FromAscii(text);
}

u16 SpecialFolderPath(int64_t csidl) {
  auto locate = ZUN_LAZY(shell32.dll, SHGetSpecialFolderLocation);
  auto pathOf = ZUN_LAZY(shell32.dll, SHGetPathFromIDListW);
  if (!locate || !pathOf) return u16();
  LPITEMIDLIST raw = nullptr;
  HRESULT found = locate(nullptr, static_cast<int>(csidl), &raw);
  ItemIdList item(raw);
  if (FAILED(found) || !item) return u16();
  wchar_t path[500] = L"";
  return pathOf(item.get(), path) ? FromWide(path) : u16();
}

u16 TemporaryFolder() {
  wchar_t path[1000];
  if (GetTempPathW(1000, path) == 0) return u16();
  wchar_t longPath[600];
  DWORD n = GetLongPathNameW(path, longPath, 600);
  return n == 0 || n >= 600 ? FromWide(path) : FromWide(longPath);
}

bool ShellExecuteDocument(const u16& operation, const u16& file, const u16& parameters, const u16& directory) {
  auto execute = ZUN_LAZY(shell32.dll, ShellExecuteW);
  if (!execute) return false;
  EnsureComOnThisThread();
  HINSTANCE h = execute(nullptr, ToWide(operation).c_str(), ToWide(file).c_str(), ToWide(parameters).c_str(),
                        ToWide(directory).c_str(), SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(h) > 32;
}

void SetClipboardText(void* owner, const u16& text) {
  size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes));
  if (!block) return;
  {
    GlobalLockScope lock(block.get());
    if (!lock.get()) return;  // a block that could not be filled is not handed over
    std::wstring w = ToWide(text);
    memcpy(lock.get(), w.c_str(), bytes);
  }
  ClipboardSession clipboard(static_cast<HWND>(owner));
  // Once the clipboard has the block, it owns it.
  if (clipboard.IsOpen() && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block.get())) block.release();
}

u16 GetClipboardText(void* owner) {
  ClipboardSession clipboard(static_cast<HWND>(owner));
  if (!clipboard.IsOpen()) return u16();
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    GlobalLockScope lock(h);
    return lock.get() ? FromWide(static_cast<const wchar_t*>(lock.get())) : u16();
  }
  if (HANDLE a = GetClipboardData(CF_TEXT)) {
    GlobalLockScope lock(a);
    if (const char* p = static_cast<const char*>(lock.get())) return AnsiToUtf16(p, strlen(p));
  }
  return u16();
}

}  // namespace zun::platform
