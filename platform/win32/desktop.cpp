// Windows, keyboard and mouse on the Windows desktop.
#include <windows.h>

#include "platform/desktop.h"
#include "platform/win32/wide.h"

namespace zun::platform {

namespace {

// The low 32 bits of a script integer are the handle.
HWND ToHwnd(int64_t h) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(static_cast<uint32_t>(h))); }
int64_t FromHwnd(HWND h) { return static_cast<int64_t>(reinterpret_cast<intptr_t>(h)); }

constexpr int kMaxWindowText = 64000;

}  // namespace

bool GetWindowRect(int64_t hwnd, WindowRect& rect) {
  RECT r;
  if (!::GetWindowRect(ToHwnd(hwnd), &r)) return false;
  rect = {r.left, r.top, r.right, r.bottom};
  return true;
}

void SetWindowRect(int64_t hwnd, const WindowRect& rect, bool relativeToParent) {
  HWND h = ToHwnd(hwnd);
  RECT r = {static_cast<LONG>(rect.left), static_cast<LONG>(rect.top), static_cast<LONG>(rect.right),
            static_cast<LONG>(rect.bottom)};
  HWND parent = GetParent(h);
  if (!relativeToParent && parent && parent != GetDesktopWindow()) {
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  MoveWindow(h, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

bool SetWindowTitle(int64_t hwnd, const u16& text) { return SetWindowTextW(ToHwnd(hwnd), ToWide(text).c_str()) != 0; }

u16 GetWindowTitle(int64_t hwnd) {
  std::wstring buffer(kMaxWindowText, L'\0');
  int n = GetWindowTextW(ToHwnd(hwnd), buffer.data(), kMaxWindowText);
  buffer.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return FromWide(buffer.c_str());
}

int64_t ShowWindow(int64_t hwnd, int64_t showCommand) {
  return ::ShowWindow(ToHwnd(hwnd), static_cast<int>(showCommand)) ? 1 : 0;
}

int64_t SendWindowMessage(int64_t hwnd, int64_t message, int64_t wParam, int64_t lParam) {
  LRESULT r =
      SendMessageW(ToHwnd(hwnd), static_cast<UINT>(message), static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
  return static_cast<int64_t>(r);
}

int64_t GetForegroundWindow() { return FromHwnd(::GetForegroundWindow()); }
bool SetForegroundWindow(int64_t hwnd) { return ::SetForegroundWindow(ToHwnd(hwnd)) != 0; }
bool IsWindowVisible(int64_t hwnd) { return ::IsWindowVisible(ToHwnd(hwnd)) != 0; }

std::vector<int64_t> ChildWindows(int64_t hwnd) {
  std::vector<int64_t> children;
  HWND parent = static_cast<uint32_t>(hwnd) == 0 ? GetDesktopWindow() : ToHwnd(hwnd);
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(FromHwnd(child));
  return children;
}

int64_t FindTopLevelWindow(const u16* className, const u16* title) {
  std::wstring c = className ? ToWide(*className) : std::wstring();
  std::wstring t = title ? ToWide(*title) : std::wstring();
  return FromHwnd(FindWindowW(className ? c.c_str() : nullptr, title ? t.c_str() : nullptr));
}

// The worker thread running the script reads no input of its own, so the
// key state of its input queue alone would never change (Wine never
// syncs it); the physical state of the key counts as well.
bool IsKeyDown(int64_t virtualKey) {
  int key = static_cast<int>(virtualKey);
  return (::GetKeyState(key) & 0x8000) || (::GetAsyncKeyState(key) & 0x8000);
}

void SendTextToWindow(const u16& text, int64_t hwnd) {
  HWND window = static_cast<uint32_t>(hwnd) == 0 ? ::GetForegroundWindow() : ToHwnd(hwnd);
  DWORD self = GetCurrentThreadId();
  DWORD other = GetWindowThreadProcessId(window, nullptr);
  AttachThreadInput(self, other, TRUE);
  SetActiveWindow(window);
  HWND target = GetFocus();
  for (char16_t unit : text) {
    switch (unit) {
      case u'\t': PostMessageW(target, WM_CHAR, 9, 0); break;
      case u'\n': break;
      case u'\r':
        PostMessageW(target, WM_SYSKEYDOWN, 13, 0x011C0001);
        PostMessageW(target, WM_CHAR, 13, 0x011C0001);
        PostMessageW(target, WM_SYSKEYUP, 13, static_cast<LPARAM>(0xC11C0001u));
        break;
      default: PostMessageW(target, WM_CHAR, unit, 0); break;
    }
  }
  AttachThreadInput(self, other, FALSE);
}

int64_t CursorX() {
  POINT p{};
  GetCursorPos(&p);
  return p.x;
}

int64_t CursorY() {
  POINT p{};
  GetCursorPos(&p);
  return p.y;
}

void SetCursorPosition(int64_t x, int64_t y) { SetCursorPos(static_cast<int>(x), static_cast<int>(y)); }

void MouseButtonEvent(MouseButton button, bool down) {
  static const DWORD kFlags[3][2] = {{MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN},
                                     {MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_RIGHTDOWN},
                                     {MOUSEEVENTF_MIDDLEUP, MOUSEEVENTF_MIDDLEDOWN}};
  mouse_event(kFlags[static_cast<int>(button)][down ? 1 : 0], 0, 0, 0, 0);
}

}  // namespace zun::platform
