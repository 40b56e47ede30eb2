// The yardstick of start-up time: a GUI program that creates its window,
// destroys it and ends, with nothing of its own to load.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  HWND window = CreateWindowExW(0, L"STATIC", L"trivial", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
  DestroyWindow(window);
  return 0;
}
