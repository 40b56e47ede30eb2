// The real popup menu of WinShowMenu, read from inside the process (Wine
// does not let another process read a menu): the markers become the
// menu's grayed and checked states, and a cancelled menu returns at once.
#include <windows.h>
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <thread>

#include "framework/script_dialogs.h"
#include "tests/e2e/driver.h"

namespace zun {
namespace {

HWND WaitForMenuWindow() {
  for (int i = 0; i < 500; ++i) {
    if (HWND w = FindWindowW(L"#32768", nullptr); w && IsWindowVisible(w)) return w;
    Sleep(10);
  }
  return nullptr;
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
    if (HWND w = FindWindowW(L"#32768", nullptr)) e2e::PostKey(w, VK_ESCAPE);
  }
};

TEST(QuickMenu, ShowsTheStatesAndReturnsTheChoice) {
  std::vector<MenuItem> items = {
      {0, 1, u"a"}, {MENU_SEPARATOR, 2, u""}, {MENU_GRAYED | MENU_CHECKED, 3, u"b"}, {MENU_CHECKED, 4, u"c"}};
  EscapeOnExit closeAnyMenuLeftOpen;
  std::future<int> chosen = ShowMenuOnThread(items);
  HWND menuWindow = WaitForMenuWindow();
  ASSERT_NE(menuWindow, nullptr);
  EXPECT_EQ(golden::FormatMenuLines(e2e::ReadMenu(menuWindow)), "a||(checked)(grayed)b|(checked)c");
  // Down to "b" (grayed: Enter does nothing), on to "c", Enter.
  for (UINT key : {VK_DOWN, VK_DOWN, VK_RETURN, VK_DOWN, VK_RETURN}) e2e::PostKey(menuWindow, key);
  ASSERT_EQ(chosen.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(chosen.get(), 4);

  std::future<int> cancelled = ShowMenuOnThread(items);
  menuWindow = WaitForMenuWindow();
  ASSERT_NE(menuWindow, nullptr);
  e2e::PostKey(menuWindow, VK_ESCAPE);
  ASSERT_EQ(cancelled.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(cancelled.get(), -1);
}

}  // namespace
}  // namespace zun
