// The real popup menu of WinShowMenu, read from inside the process (Wine
// does not let another process read a menu): the markers become the
// menu's grayed and checked states, and a cancelled menu returns at once.
#include <gtest/gtest.h>
#include <windows.h>

#include <future>
#include <memory>
#include <thread>

#include "framework/script_dialogs.h"

namespace zun {
namespace {

HWND WaitForMenuWindow() {
  for (int i = 0; i < 500; ++i) {
    if (HWND w = FindWindowW(L"#32768", nullptr); w && IsWindowVisible(w)) return w;
    Sleep(10);
  }
  return nullptr;
}

struct Shown {
  std::vector<UINT> states;
  std::vector<std::wstring> texts;
};

Shown ReadMenu(HWND menuWindow) {
  Shown shown;
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    shown.states.push_back(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION));
    wchar_t text[64] = L"";
    GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    shown.texts.push_back(text);
  }
  return shown;
}

void Key(HWND hwnd, UINT key) {
  PostMessageW(hwnd, WM_KEYDOWN, key, 0);
  PostMessageW(hwnd, WM_KEYUP, key, 0xC0000000);
}

// Shows the menu on a thread of its own, which a test that stops early
// leaves behind (with Escape sent to the menu) instead of waiting for it.
std::future<int> ShowMenuOnThread(const std::vector<MenuItem>& items) {
  auto task = std::make_shared<std::packaged_task<int()>>([items] { return Win32Dialogs().ShowMenu(nullptr, items); });
  std::future<int> chosen = task->get_future();
  std::thread([task] { (*task)(); }).detach();
  return chosen;
}

struct EscapeOnExit {
  ~EscapeOnExit() {
    if (HWND w = FindWindowW(L"#32768", nullptr)) Key(w, VK_ESCAPE);
  }
};

TEST(QuickMenu, ShowsTheStatesAndReturnsTheChoice) {
  std::vector<MenuItem> items = {{0, 1, u"a"}, {MENU_SEPARATOR, 2, u""}, {MENU_GRAYED | MENU_CHECKED, 3, u"b"},
                                 {MENU_CHECKED, 4, u"c"}};
  EscapeOnExit closeAnyMenuLeftOpen;
  std::future<int> chosen = ShowMenuOnThread(items);
  HWND menuWindow = WaitForMenuWindow();
  ASSERT_NE(menuWindow, nullptr);
  Shown shown = ReadMenu(menuWindow);
  ASSERT_EQ(shown.states.size(), 4u);
  EXPECT_EQ(shown.texts[0], L"a");
  EXPECT_TRUE(shown.states[1] & MF_SEPARATOR);
  EXPECT_TRUE((shown.states[2] & MF_GRAYED) && (shown.states[2] & MF_CHECKED));
  EXPECT_TRUE((shown.states[3] & MF_CHECKED) && !(shown.states[3] & MF_GRAYED));
  // Down to "b" (grayed: Enter does nothing), on to "c", Enter.
  Key(menuWindow, VK_DOWN);
  Key(menuWindow, VK_DOWN);
  Key(menuWindow, VK_RETURN);
  Key(menuWindow, VK_DOWN);
  Key(menuWindow, VK_RETURN);
  ASSERT_EQ(chosen.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(chosen.get(), 4);

  std::future<int> cancelled = ShowMenuOnThread(items);
  menuWindow = WaitForMenuWindow();
  ASSERT_NE(menuWindow, nullptr);
  Key(menuWindow, VK_ESCAPE);
  ASSERT_EQ(cancelled.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(cancelled.get(), -1);
}

}  // namespace
}  // namespace zun
