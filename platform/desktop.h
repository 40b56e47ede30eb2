// The desktop as the system, window, mouse, keyboard and clipboard
// built-ins reach it. Window handles are script integers: their low 32 bits
// are the system's handle. Without a Windows desktop (POSIX) the window,
// mouse, keyboard and clipboard calls fail: 0, "", nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "text/text.h"

namespace zun::platform {

// System and shell.
u16 NewGuidText();                     // "{XXXXXXXX-XXXX-xxxx-XXXX-XXXXXXXXXXXX}", "" on failure
u16 SpecialFolderPath(int64_t csidl);  // "" when there is no such folder on disk
u16 TemporaryFolder();                 // with its trailing separator, "" on failure
bool ShellExecuteDocument(const u16& operation, const u16& file, const u16& parameters, const u16& directory);

// Clipboard (Unicode text, else ANSI text).
void SetClipboardText(void* owner, const u16& text);
u16 GetClipboardText(void* owner);

// Windows.
struct WindowRect {
  int64_t left = 0, top = 0, right = 0, bottom = 0;
};
bool GetWindowRect(int64_t hwnd, WindowRect& rect);
// Screen coordinates are converted to the parent's client area unless
// relativeToParent.
void SetWindowRect(int64_t hwnd, const WindowRect& rect, bool relativeToParent);
bool SetWindowTitle(int64_t hwnd, const u16& text);
u16 GetWindowTitle(int64_t hwnd);
int64_t ShowWindow(int64_t hwnd, int64_t showCommand);
int64_t SendWindowMessage(int64_t hwnd, int64_t message, int64_t wParam, int64_t lParam);
int64_t GetForegroundWindow();
bool SetForegroundWindow(int64_t hwnd);
bool IsWindowVisible(int64_t hwnd);
// The direct children in Z order; for 0 the top-level windows.
std::vector<int64_t> ChildWindows(int64_t hwnd);
// Null means "any".
int64_t FindTopLevelWindow(const u16* className, const u16* title);

// Keyboard and mouse.
// The calling thread's key state, or the physical one (see win32/desktop.cpp).
bool IsKeyDown(int64_t virtualKey);
// Posts the text to the focused window of hwnd's thread (0: the foreground
// window), typing CR as the Enter key and dropping LF.
void SendTextToWindow(const u16& text, int64_t hwnd);
int64_t CursorX();
int64_t CursorY();
void SetCursorPosition(int64_t x, int64_t y);
enum class MouseButton { Left, Right, Middle };
void MouseButtonEvent(MouseButton button, bool down);

}  // namespace zun::platform
