// Where a dialog opens: centred over its owner, or on the monitor under the mouse.
#include "platform/win32/placement.h"

namespace zun {

void CenterOnOwnerOrCursor(HWND window, HWND owner) {
  RECT frame;
  if (!GetWindowRect(window, &frame)) return;
  bool shown = owner && owner != GetDesktopWindow() && IsWindowVisible(owner) && !IsIconic(owner);
  RECT target;
  HMONITOR monitor;
  if (shown && GetWindowRect(owner, &target)) {
    monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
  } else {
    POINT cursor{};
    GetCursorPos(&cursor);
    monitor = MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
  }
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return;
  const RECT& work = info.rcWork;
  if (!shown) target = work;
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  int x = target.left + (target.right - target.left - width) / 2;
  int y = target.top + (target.bottom - target.top - height) / 2;
  // Inside the work area, the top-left corner winning when it is too small.
  if (x + width > work.right) x = work.right - width;
  if (y + height > work.bottom) y = work.bottom - height;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace zun
