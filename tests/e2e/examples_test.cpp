// The examples through the real zunrun.exe: every scenario (answers from
// its transcript, the folder checked afterwards), and the desktop examples
// against real windows: Wine's own Notepad, a window of this test, the
// clipboard and a launched program.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "tests/e2e/driver.h"
#include "tests/support/scenarios.h"
#include "tests/support/test_main.h"

namespace zun::e2e {
namespace {

namespace fs = std::filesystem;

std::string g_exe;  // zunrun.exe
fs::path g_root;    // the source tree

std::string ExamplePath(const std::string& name) { return (g_root / "examples" / (name + ".zunscript")).string(); }

RunOptions Options(const std::string& example, const std::vector<golden::Entry>& expected) {
  RunOptions o;
  o.args = {ExamplePath(example)};
  o.env = {"TZ=UTC0"};
  o.expected = expected;
  o.timeoutMs = 30000;
  // The runner's dialog shows itself only when it cannot run the script.
  o.onMainDialog = [](HWND, const MainDialogState&) { return true; };
  return o;
}

void ExpectCleanEnd(const RunResult& r) {
  EXPECT_TRUE(r.ended);
  EXPECT_FALSE(r.mainDialog.visible);
  EXPECT_EQ(r.exitCode, 0u);
}

TEST(ExamplesExe, ScenariosShowAndLeaveWhatTheyMust) {
  int run = 0;
  for (const golden::Scenario& s : golden::Scenarios(g_root / "tests" / "examples")) {
    if (s.linuxOnly) continue;
    SCOPED_TRACE(s.Label());
    ++run;
    golden::RunFolder folder(s.Label());
    folder.Fill(s);
    RunResult r;
    {
      golden::ScopedCurrentFolder here(folder.Path());
      r = RunProgram(g_exe, Options(s.example, s.transcript));
    }
    ExpectCleanEnd(r);
    EXPECT_EQ(r.Transcript(), golden::FormatTranscript(s.transcript));
    EXPECT_EQ(folder.Differences(s), "");
  }
  EXPECT_GT(run, 0);
}

golden::Entry Box(const std::string& text) { return {"box", {"ZUN Script", "OK", text, "OK"}}; }
golden::Entry Input(const std::string& question, const std::string& typed) {
  return {"input", {question, "single", typed, "OK"}};
}
golden::Entry Menu(const std::string& items, const std::string& choice) { return {"menu", {items, choice}}; }

// Notepad windows, and ending their processes (a closing Notepad would ask
// whether to save the typed text).
std::vector<HWND> NotepadWindows() {
  std::vector<HWND> found;
  for (HWND h = FindWindowW(L"Notepad", nullptr); h; h = FindWindowExW(nullptr, h, L"Notepad", nullptr))
    found.push_back(h);
  return found;
}

void EndProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
    TerminateProcess(p, 0);
    WaitForSingleObject(p, 5000);
    CloseHandle(p);
  }
}

// Waits up to `ms` for `ready`, dispatching this thread's messages.
template <typename Fn>
bool WaitFor(Fn ready, int ms = 10000) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < static_cast<DWORD>(ms); Pump(50))
    if (ready()) return true;
  return ready();
}

HWND WaitForNotepad() {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindWindowW(L"Notepad", nullptr)) != nullptr; });
  return found;
}

// The text typed into Notepad (its edit field), once it stops growing.
std::string NotepadText(HWND notepad, const std::string& expected) {
  HWND edit = FindWindowExW(notepad, nullptr, L"Edit", nullptr);
  std::string text;
  WaitFor([&] { return (text = WindowText(edit)) == expected; }, 5000);
  return text;
}

std::string Rect(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// The scripts find Notepad by its class: a Notepad open before the test
// would take the typing, so the tests run only without one, and end the
// Notepads they made.
class NotepadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!NotepadWindows().empty()) GTEST_SKIP() << "a Notepad is open; close it to run this test";
    ran_ = true;
  }
  void TearDown() override {
    if (ran_)
      for (HWND h : NotepadWindows()) EndProcessOf(h);
  }

 private:
  bool ran_ = false;
};

TEST_F(NotepadTest, MoveAndTypeFindsMovesAndTypes) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  wchar_t cmd[] = L"notepad.exe";
  ASSERT_TRUE(CreateProcessW(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  HWND notepad = WaitForNotepad();
  ASSERT_NE(notepad, nullptr);
  WaitFor([&] { return IsWindowVisible(notepad) != 0; });

  RunResult r = RunProgram(g_exe, Options("move-and-type", {Box("Notepad is at 20, 20 now, 600 x 400 pixels.")}));
  ExpectCleanEnd(r);
  EXPECT_EQ(r.Transcript(), golden::FormatTranscript({Box("Notepad is at 20, 20 now, 600 x 400 pixels.")}));
  EXPECT_EQ(Rect(notepad), "20,20,620,420");
  EXPECT_EQ(NotepadText(notepad, "Typed by ZunRun.\r\n"), "Typed by ZunRun.\r\n");
}

TEST_F(NotepadTest, FillFormStartsNotepadAndTypesTheForm) {
  std::vector<golden::Entry> expected = {Input("Your name?", "Ada Lovelace"), Input("Your city?", "London")};
  RunResult r = RunProgram(g_exe, Options("fill-notepad-form", expected));
  ExpectCleanEnd(r);
  EXPECT_EQ(r.Transcript(), golden::FormatTranscript(expected));
  HWND notepad = WaitForNotepad();
  ASSERT_NE(notepad, nullptr);
  const std::string form = "Visitor form\r\n\r\nName:\tAda Lovelace\r\nCity:\tLondon\r\n";
  EXPECT_EQ(NotepadText(notepad, form), form);
  EXPECT_EQ(Rect(notepad), "40,40,640,440");
}

TEST_F(NotepadTest, MenuLauncherStartsWhatWasPicked) {
  std::vector<golden::Entry> expected = {Menu("Notepad|Calculator||Documents folder|Temporary folder", "Notepad")};
  RunResult r = RunProgram(g_exe, Options("menu-launcher", expected));
  ExpectCleanEnd(r);
  EXPECT_EQ(r.Transcript(), golden::FormatTranscript(expected));
  EXPECT_NE(WaitForNotepad(), nullptr) << "picking Notepad started no Notepad";
}

// The window the waiting example waits for appears a second after the
// title was typed; a timer of this thread (the driver dispatches its
// messages) creates it.
HWND g_target = nullptr;
const wchar_t kTargetTitle[] = L"ZunRun example target";

void CALLBACK CreateTarget(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_target = CreateWindowExW(0, L"STATIC", kTargetTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200, 100, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST(ExamplesExe, WaitForWindowSeesAWindowThatAppearsLater) {
  std::vector<golden::Entry> expected = {Input("Which window shall I wait for? (its exact title)", Utf8(kTargetTitle)),
                                         Box("The window \"" + Utf8(kTargetTitle) + "\" is there.")};
  RunOptions o = Options("wait-for-window", expected);
  o.onEntry = [](const golden::Entry& e) {
    if (e.kind == "input") SetTimer(nullptr, 0, 1000, CreateTarget);
  };
  RunResult r = RunProgram(g_exe, o);
  ExpectCleanEnd(r);
  EXPECT_EQ(r.Transcript(), golden::FormatTranscript(expected));
  ASSERT_NE(g_target, nullptr) << "the window was never created";
  DestroyWindow(g_target);
}

void SetClipboard(const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(block);
  SetClipboardData(CF_UNICODETEXT, block);
  CloseClipboard();
}

std::string Clipboard() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "(cannot open the clipboard)";
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    text = Utf8(static_cast<const wchar_t*>(GlobalLock(h)));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return text;
}

TEST(ExamplesExe, ClipboardCaseChangesTheClipboard) {
  struct Case {
    std::string before, choice, after, shown;
  };
  const std::string longText = "a line of text that is longer than sixty characters in all, so cut";
  const Case cases[] = {
      {"hello big WORLD\r\nsecond  line", "Title Case", "Hello Big World\r\nSecond  Line",
       "Hello Big World\r\nSecond  Line"},
      {"Mixed Case 1", "UPPER CASE", "MIXED CASE 1", "MIXED CASE 1"},
      {longText, "UPPER CASE", "A LINE OF TEXT THAT IS LONGER THAN SIXTY CHARACTERS IN ALL, SO CUT",
       "A LINE OF TEXT THAT IS LONGER THAN SIXTY CHARACTERS IN ALL, ..."},
      {"Keep Me", "-", "Keep Me", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.choice + ": " + c.before);
    SetClipboard(Wide(c.before));
    std::vector<golden::Entry> expected = {Menu("UPPER CASE|lower case|Title Case", c.choice)};
    if (!c.shown.empty()) expected.push_back(Box("The clipboard now holds:\r\n" + c.shown));
    RunResult r = RunProgram(g_exe, Options("clipboard-case", expected));
    ExpectCleanEnd(r);
    EXPECT_EQ(r.Transcript(), golden::FormatTranscript(expected));
    EXPECT_EQ(Clipboard(), c.after);
  }
}

}  // namespace
}  // namespace zun::e2e

int main(int argc, char** argv) {
  return zun::tests::RunTests(argc, argv, 2, "zun_examples_exe_tests ZUNRUN_EXE SOURCE_DIR", [](int, char** args) {
    zun::e2e::g_exe = zun::e2e::HostPath(args[0]);
    zun::e2e::g_root = zun::e2e::HostPath(args[1]);
  });
}
