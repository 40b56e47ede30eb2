// Without a Windows desktop there are no windows, no input queue and no
// clipboard to reach: every call fails the way a call on a handle that
// names no window fails, and nothing pretends to have acted.
#include "platform/desktop.h"

namespace zun::platform {

void SetClipboardText(void*, const u16&) {}
u16 GetClipboardText(void*) { return u16(); }

bool GetWindowRect(int64_t, WindowRect&) { return false; }
void SetWindowRect(int64_t, const WindowRect&, bool) {}
bool SetWindowTitle(int64_t, const u16&) { return false; }
u16 GetWindowTitle(int64_t) { return u16(); }
int64_t ShowWindow(int64_t, int64_t) { return 0; }
int64_t SendWindowMessage(int64_t, int64_t, int64_t, int64_t) { return 0; }
int64_t GetForegroundWindow() { return 0; }
bool SetForegroundWindow(int64_t) { return false; }
bool IsWindowVisible(int64_t) { return false; }
std::vector<int64_t> ChildWindows(int64_t) { return {}; }
int64_t FindTopLevelWindow(const u16*, const u16*) { return 0; }

bool IsKeyDown(int64_t) { return false; }
void SendTextToWindow(const u16&, int64_t) {}
int64_t CursorX() { return 0; }
int64_t CursorY() { return 0; }
void SetCursorPosition(int64_t, int64_t) {}
void MouseButtonEvent(MouseButton, bool) {}

}  // namespace zun::platform
