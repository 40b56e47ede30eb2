// Where a dialog opens: over the window it belongs to, or where the person
// is looking when it belongs to none.
#pragma once

#include <windows.h>

namespace zun {

// Centres `window` on `owner` when the owner is shown (visible and not
// minimised); otherwise on the work area of the monitor under the mouse
// cursor. The window is kept inside that monitor's work area.
void CenterOnOwnerOrCursor(HWND window, HWND owner);

}  // namespace zun
