// Scripts run by the real zunrun.exe against real windows of this test:
// a top-level window with an edit field and a button, the clipboard, the
// keyboard and the mouse. The driver pumps this thread's messages while it
// watches the program, so the test window answers throughout.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/driver.h"
#include "tests/support/test_main.h"

namespace zun::e2e {
namespace {

std::string g_exe;  // zunrun.exe, from the command line

constexpr int kEditId = 10;
constexpr int kButtonId = 11;
int g_clicks = 0;

LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) ++g_clicks;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class Desktop : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"ZunRunTestWindow";
    RegisterClassW(&wc);
    window = CreateWindowExW(0, wc.lpszClassName, L"ZunRun test window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                             300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 10, 10, 200, 60,
                           window, reinterpret_cast<HMENU>(kEditId), wc.hInstance, nullptr);
    button = CreateWindowExW(0, L"BUTTON", L"Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 90, 100, 30, window,
                             reinterpret_cast<HMENU>(kButtonId), wc.hInstance, nullptr);
    SetForegroundWindow(window);
    SetFocus(edit);
    Pump(100);
    g_clicks = 0;
  }
  void TearDown() override { DestroyWindow(window); }

  // Runs the script text; returns the texts of the boxes it showed.
  std::vector<std::string> Run(const std::string& script) {
    std::string path = TempFile("desktop.zunscript", script);
    RunOptions o;
    o.args = {path};
    o.timeoutMs = 60000;
    RunResult r = RunProgram(g_exe, o);
    EXPECT_TRUE(r.ended) << script;
    DeleteFileW(Wide(path).c_str());
    std::vector<std::string> texts;
    for (const auto& e : r.entries) texts.push_back(e.fields.size() > 2 ? e.fields[2] : e.kind);
    return texts;
  }

  static std::string Number(intptr_t n) { return std::to_string(n); }
  static std::string Text(HWND h) { return WindowText(h); }

  HWND window = nullptr, edit = nullptr, button = nullptr;
};

using Texts = std::vector<std::string>;

// Programs started while this lives see a display scaled to `dpi` (Wine
// reads the setting when a program starts); the setting is restored after.
class ScaledDisplay {
 public:
  explicit ScaledDisplay(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    DWORD size = sizeof old_;
    hadOld_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_), &size) == 0;
    RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  }
  ~ScaledDisplay() {
    if (hadOld_) RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_), sizeof old_);
    else RegDeleteValueW(key_, L"LogPixels");
    RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  DWORD old_ = 96;
  bool hadOld_ = false;
};

TEST_F(Desktop, PositionsAreScreenPixelsOnAScaledDisplay) {
  RECT real;
  GetWindowRect(window, &real);  // this process started unscaled: real pixels
  ScaledDisplay scaled(144);
  Texts shown =
      Run("var $h = FindWindow(\"ZunRunTestWindow\", \"ZunRun test window\");\n"
          "print(str(WinGetPos($h, \"left\")) + \",\" + str(WinGetPos($h, \"top\")) + \",\" + str(WinGetPos($h, "
          "\"right\")) + \",\" + str(WinGetPos($h, \"bottom\")));\n");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0],
            Number(real.left) + "," + Number(real.top) + "," + Number(real.right) + "," + Number(real.bottom));
}

TEST_F(Desktop, FindsMovesRetitlesAndShowsAWindow) {
  SetWindowTextW(edit, L"hello");
  Texts shown = Run(
      "var $h = FindWindow(\"ZunRunTestWindow\", \"ZunRun test window\");\n"
      "print(str($h));\n"
      "print(str(FindWindow(0, \"ZunRun test window\") == $h) + str(FindWindow(\"ZunRunTestWindow\", 0) == $h) +"
      " str(FindWindow(\"NoSuchClass\", \"\")));\n"
      "print(str(WinGetPos($h, \"LEFT\")) + \",\" + str(WinGetPos($h, \"Top\")));\n"
      "WinSetPos($h, 50, 60, 450, 360);\n"
      "print(str(WinGetPos($h, \"left\")) + \",\" + str(WinGetPos($h, \"top\")) + \",\" + str(WinGetPos($h, "
      "\"right\")) + \",\" + str(WinGetPos($h, \"bottom\")));\n"
      "print(str(WinSetText($h, \"abc\")) + WinGetText($h) + str(strlen(WinGetText($h))) + str(SendMessage($h, "
      "WM_GETTEXTLENGTH)));\n"
      "var $kids = WinGetChildWindows($h);\n"
      "print(str($kids));\n"
      "print(str(array_size(WinGetChildWindows($kids[0]))) + str(array_size(WinGetChildWindows(0)) > 0));\n"
      "print(str(WinShow($h, SW_HIDE)) + str(WinIsVisible($h)) + str(WinShow($h, SW_SHOW)) + str(WinIsVisible($h)));\n"
      "print(str(SetForegroundWindow($h)));\n");
  ASSERT_EQ(shown.size(), 9u);
  EXPECT_EQ(shown[0], Number(reinterpret_cast<intptr_t>(window)));
  EXPECT_EQ(shown[1], "110");
  EXPECT_EQ(shown[2], "100,100");
  EXPECT_EQ(shown[3], "50,60,450,360");
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.bottom, 360);
  EXPECT_EQ(shown[4], "1abc33");
  EXPECT_EQ(Text(window), "abc");
  std::string edits = Number(reinterpret_cast<intptr_t>(edit)), buttons = Number(reinterpret_cast<intptr_t>(button));
  EXPECT_TRUE(shown[5] == edits + "," + buttons || shown[5] == buttons + "," + edits) << shown[5];
  EXPECT_EQ(shown[6], "01");
  EXPECT_EQ(shown[7], "1001");
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(shown[8], "1");
}

// A child is placed by screen coordinates, converted to its parent's client
// area, or by client coordinates when told so.
TEST_F(Desktop, PlacesAChildInItsParent) {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  std::string h = Number(reinterpret_cast<intptr_t>(button));
  std::string x = Number(origin.x + 40), y = Number(origin.y + 50);
  Texts shown = Run("WinSetPos(" + h + ", " + x + ", " + y + ", " + x + " + 100, " + y +
                    " + 30);\n"
                    "print(str(WinGetPos(" +
                    h + ", \"left\") - " + x + ") + \",\" + str(WinGetPos(" + h + ", \"bottom\") - " + y +
                    "));\n"
                    "WinSetPos(" +
                    h + ", 5, 6, 105, 36, 1);\n");
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0], "0,30");
  RECT r;
  GetWindowRect(button, &r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.top, 6);
  EXPECT_EQ(r.right, 105);
  EXPECT_EQ(r.bottom, 36);
}

TEST_F(Desktop, TypesIntoTheFocusedEdit) {
  Texts shown = Run("print(str(SendTextToWindow(\"ab\\r\\n\", FindWindow(0, \"ZunRun test window\"))));");
  Pump(300);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0], "1");
  EXPECT_EQ(Text(edit), "ab\r\n");
}

TEST_F(Desktop, MouseMovesAndClicksTheButton) {
  RECT r;
  GetWindowRect(button, &r);
  std::string x = Number((r.left + r.right) / 2), y = Number((r.top + r.bottom) / 2);
  Texts shown = Run("MouseSetPos(" + x + ", " + y +
                    ");\nprint(str(MouseGetPosX()) + \",\" + str(MouseGetPosY()));\n"
                    "MouseClick();\nSleep(200);\n");
  Pump(300);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], x + "," + y);
  EXPECT_EQ(g_clicks, 1);
}

TEST_F(Desktop, ClipboardRoundTrips) {
  Texts shown = Run("SysSetClipboardText(\"from script \" + chr(0x263A));\nprint(SysGetClipboardText());");
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0], "from script \xE2\x98\xBA");
  std::string fromTest;
  if (OpenClipboard(window)) {
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
      fromTest = Utf8(static_cast<const wchar_t*>(GlobalLock(h)));
      GlobalUnlock(h);
    }
    CloseClipboard();
  }
  EXPECT_EQ(fromTest, "from script \xE2\x98\xBA");

  ASSERT_TRUE(OpenClipboard(window));
  EmptyClipboard();
  const wchar_t text[] = L"from the test";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
  memcpy(GlobalLock(block), text, sizeof text);
  GlobalUnlock(block);
  SetClipboardData(CF_UNICODETEXT, block);
  CloseClipboard();
  shown = Run("print(SysGetClipboardText());");
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0], "from the test");
}

TEST_F(Desktop, KeysHeldByTheTest) {
  keybd_event('Q', 0, 0, 0);
  Pump(100);
  ASSERT_TRUE(GetAsyncKeyState('Q') & 0x8000);
  Texts shown =
      Run("print(str(GetKeyState(\"q\")) + str(GetKeyState(\"Q\")) + str(GetKeyState(81)) +"
          " str(GetKeyState(\"z\")));");
  keybd_event('Q', 0, KEYEVENTF_KEYUP, 0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "1110");

  // Ctrl+Pause ends a loop that would otherwise run for ever.
  keybd_event(VK_CONTROL, 0, 0, 0);
  keybd_event(VK_PAUSE, 0, 0, 0);
  Pump(100);
  shown = Run("var $n = 0;\nrepeat {\n  $n += 1;\n  Sleep(10);\n}\nprint(\"not reached\");");
  keybd_event(VK_PAUSE, 0, KEYEVENTF_KEYUP, 0);
  keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
  ASSERT_FALSE(shown.empty());
  EXPECT_NE(shown[0].find("pause pressed:exiting"), std::string::npos) << shown[0];
}

// The shell's services in the real program, where the worker thread starts
// COM on first use (the other system built-ins run in the unit tests).
TEST_F(Desktop, ShellServices) {
  Texts shown = Run(
      "print(SysGetSpecialFolderLocation(17) + \"|\" + str(strlen(SysGetSpecialFolderLocation(CSIDL_PERSONAL)) > 0));\n"
      "print(str(ShellExecute(\"open\", \"C:\\\\no\\\\such\\\\file.txt\")));\n");
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], "|1");
  EXPECT_EQ(shown[1], "0");
}

}  // namespace
}  // namespace zun::e2e

int main(int argc, char** argv) {
  return zun::tests::RunTests(argc, argv, 1, "zun_desktop_tests PATH\\zunrun.exe",
                              [](int, char** args) { zun::e2e::g_exe = zun::e2e::HostPath(args[0]); });
}
