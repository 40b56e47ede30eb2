// The real zunrun.exe under Wine: the runner's own dialog and its cases.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/driver.h"
#include "tests/support/test_main.h"

namespace zun::e2e {
namespace {

std::string g_exe;      // zunrun.exe, from the command line
std::string g_console;  // zunrunc.exe

const char* const kUsage =
    "Usage:\r\nzunrun.exe \"c:\\somefolder\\script.zunscript\"\r\nOr simply double-click a .zunscript file";

// Watches until the dialog is visible, then ends the process.
RunResult RunUntilDialog(const std::vector<std::string>& args) {
  RunOptions o;
  o.args = args;
  o.timeoutMs = 15000;
  o.onMainDialog = [](HWND, const MainDialogState&) { return true; };
  return RunProgram(g_exe, o);
}

TEST(Runner, ExplainsWhatItCannotRun) {
  std::string kept = TempFile("kept.zunscript", "print(\"must not run\");");
  struct Case {
    std::vector<std::string> args;
    const char* status;
    std::string output;
  };
  const Case cases[] = {
      {{}, "No script file passed", kUsage},
      {{"a.zunscript", "b.zunscript"}, "Too many script files passed", kUsage},
      {{"no-such-file.zunscript"},
       "Error",
       "Could not load file:no-such-file.zunscript\r\nUsage:\r\nzunrun.exe \"c:\\somefolder\\script.zunscript\""},
      {{"/del", kept}, "No script file passed", kUsage},  // the path is the switch's value
  };
  for (const Case& c : cases) {
    RunResult r = RunUntilDialog(c.args);
    EXPECT_FALSE(r.ended) << c.status;
    EXPECT_TRUE(r.mainDialog.visible) << c.status;
    EXPECT_EQ(r.mainDialog.status, c.status);
    EXPECT_EQ(r.mainDialog.output, c.output);
    EXPECT_TRUE(r.entries.empty()) << r.Transcript();
  }
  EXPECT_TRUE(Exists(kept));
}

TEST(Runner, EscapeAndCloseBoxDoNotCloseExitDoes) {
  RunOptions o;
  o.timeoutMs = 15000;
  int step = 0;
  DWORD since = 0;
  o.onMainDialog = [&](HWND dialog, const MainDialogState&) {
    if (step == 0) {
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);     // what Escape sends
      PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
      since = GetTickCount();
      step = 1;
    } else if (step == 1 && GetTickCount() - since > 1500) {
      EXPECT_TRUE(IsWindowVisible(dialog)) << "Escape or the close box closed the dialog";
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);  // Exit
      step = 2;
    }
    return false;
  };
  RunResult r = RunProgram(g_exe, o);
  EXPECT_EQ(step, 2);
  EXPECT_TRUE(r.ended) << "Exit did not end the program";
  EXPECT_EQ(r.exitCode, 2u) << "nothing ran";
}

TEST(Runner, DelAfterPathDeletesTheFile) {
  std::string path = TempFile("deleted.zunscript", "var $a = 1;");
  RunOptions o;
  o.args = {path, "/del"};
  RunResult r = RunProgram(g_exe, o);
  EXPECT_TRUE(r.ended);
  EXPECT_FALSE(Exists(path));
}

std::string ManifestOf(const std::string& exe) {
  HMODULE module = LoadLibraryExW(Wide(exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC found = module ? FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)) : nullptr;
  std::string text;
  if (found)
    text.assign(static_cast<const char*>(LockResource(LoadResource(module, found))), SizeofResource(module, found));
  if (module) FreeLibrary(module);
  return text;
}

TEST(Runner, ManifestGivesStylesAndPerMonitorAwareness) {
  for (const std::string& exe : {g_exe, g_console}) {
    std::string manifest = ManifestOf(exe);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos)
        << exe;
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor<"), std::string::npos) << exe;
    EXPECT_NE(manifest.find(">true/pm<"), std::string::npos) << exe;
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << exe;
    EXPECT_NE(manifest.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"), std::string::npos) << exe;
  }
  // The running program: the awareness its windows report (functions of
  // Windows 10, looked up so that the tests run where they are missing).
  using WindowContext = HANDLE(WINAPI*)(HWND);
  using ContextAwareness = int(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto windowContext =
      reinterpret_cast<WindowContext>(reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
  auto awarenessOf = reinterpret_cast<ContextAwareness>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
  ASSERT_TRUE(windowContext && awarenessOf);
  std::string path = TempFile("dpi.zunscript", "print(\"dpi\");");
  int awareness = -1;
  RunOptions o;
  o.args = {path};
  o.onWindow = [&](HWND w) { awareness = awarenessOf(windowContext(w)); };
  RunResult r = RunProgram(g_exe, o);
  EXPECT_TRUE(r.ended);
  EXPECT_EQ(awareness, 2) << "DPI_AWARENESS_PER_MONITOR_AWARE";
}

// The center of a window and the center of what it should be centred on.
struct Centers {
  POINT window, target;
};

Centers CentersOf(HWND window, const RECT& target) {
  RECT r;
  GetWindowRect(window, &r);
  return {{(r.left + r.right) / 2, (r.top + r.bottom) / 2},
          {(target.left + target.right) / 2, (target.top + target.bottom) / 2}};
}

RECT WorkAreaUnderCursor() {
  POINT cursor;
  GetCursorPos(&cursor);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

void ExpectCentered(const Centers& c, const std::string& what) {
  EXPECT_NEAR(c.window.x, c.target.x, 2) << what;
  EXPECT_NEAR(c.window.y, c.target.y, 2) << what;
}

TEST(Runner, DialogsOpenOverTheirOwnerOrWhereTheCursorIs) {
  SetCursorPos(300, 200);
  // The runner's dialog has no owner: the monitor under the cursor.
  std::vector<Centers> dialogs;
  RunOptions o;
  o.timeoutMs = 15000;
  int step = 0;
  o.onMainDialog = [&](HWND dialog, const MainDialogState&) {
    if (step++ == 0) {
      dialogs.push_back(CentersOf(dialog, WorkAreaUnderCursor()));
      PostMessageW(dialog, WM_SYSCOMMAND, 16, 0);  // the about box, owned by the dialog
    }
    return false;
  };
  HWND mainDialog = nullptr;
  o.onWindow = [&](HWND w) {
    if (GetDlgItem(w, 1001)) {
      mainDialog = w;
    } else if (mainDialog) {  // the about box
      RECT owner;
      GetWindowRect(mainDialog, &owner);
      dialogs.push_back(CentersOf(w, owner));
      PostMessageW(w, WM_COMMAND, IDOK, 0);
      PostMessageW(mainDialog, WM_COMMAND, IDOK, 0);
    }
  };
  RunResult r = RunProgram(g_exe, o);
  ASSERT_EQ(dialogs.size(), 2u) << r.Transcript();
  ExpectCentered(dialogs[0], "runner dialog");
  ExpectCentered(dialogs[1], "about box");

  // The input boxes belong to the hidden dialog: the monitor under the cursor.
  std::string path = TempFile("ask.zunscript", "InputBox(\"one line?\"); InputBox(\"lines?\", \"multiline\");");
  std::vector<Centers> boxes;
  RunOptions ask;
  ask.args = {path};
  ask.onWindow = [&](HWND w) { boxes.push_back(CentersOf(w, WorkAreaUnderCursor())); };
  RunResult asked = RunProgram(g_exe, ask);
  EXPECT_TRUE(asked.ended);
  ASSERT_EQ(boxes.size(), 2u) << asked.Transcript();
  ExpectCentered(boxes[0], "input box");
  ExpectCentered(boxes[1], "multi-line input box");
}

}  // namespace
}  // namespace zun::e2e

int main(int argc, char** argv) {
  return zun::tests::RunTests(argc, argv, 1, "zun_runner_tests PATH\\zunrun.exe [PATH\\zunrunc.exe]",
                              [](int count, char** args) {
                                zun::e2e::g_exe = zun::e2e::HostPath(args[0]);
                                if (count > 1) zun::e2e::g_console = zun::e2e::HostPath(args[1]);
                              });
}
