// The end-to-end driver: starting programs and reading and answering their windows.
#include "tests/e2e/driver.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "tests/support/process.h"
#include "text/text.h"

namespace zun::e2e {

std::string Utf8(const std::wstring& w) { return ToUtf8(u16(w.begin(), w.end())); }

std::wstring Wide(const std::string& s) {
  u16 u = FromUtf8(s);
  return std::wstring(u.begin(), u.end());
}

std::string TempFile(const std::string& name, const std::string& bytes) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::string path = Utf8(temp) + "zunrun-test-" + name;
  std::ofstream(std::filesystem::path(Wide(path)), std::ios::binary) << bytes;
  return path;
}

void Pump(int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    if (ms > 0) Sleep(5);
  } while (GetTickCount() < end);
}

bool Exists(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string WindowText(HWND hwnd) {
  LRESULT len = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring w(static_cast<size_t>(len) + 1, L'\0');
  SendMessageW(hwnd, WM_GETTEXT, w.size(), reinterpret_cast<LPARAM>(w.data()));
  w.resize(wcslen(w.c_str()));
  return Utf8(w);
}

void PostKey(HWND hwnd, UINT key) {
  PostMessageW(hwnd, WM_KEYDOWN, key, 0);
  PostMessageW(hwnd, WM_KEYUP, key, 0xC0000000);
}

std::vector<golden::MenuLine> ReadMenu(HWND menuWindow) {
  std::vector<golden::MenuLine> lines;
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
  for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
    UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    wchar_t text[256] = L"";
    GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
    if (state & MF_SEPARATOR) {
      lines.push_back({"", true});  // whose state says grayed too
      continue;
    }
    lines.push_back({Utf8(text), false, (state & MF_GRAYED) != 0, (state & MF_CHECKED) != 0});
  }
  return lines;
}

namespace {

std::string ClassOf(HWND hwnd) {
  wchar_t cls[64] = {0};
  GetClassNameW(hwnd, cls, 64);
  return Utf8(cls);
}

std::string StripMnemonic(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != '&') out.push_back(c);
  return out;
}

struct Finder {
  DWORD pid;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<Finder*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  std::string cls = ClassOf(hwnd);
  if (pid == f->pid && (cls == "#32770" || cls == "#32768")) f->windows.push_back(hwnd);
  return TRUE;
}

struct BoxInfo {
  std::string caption;
  std::string text;                                   // the static 0xFFFF
  std::vector<std::pair<std::string, HWND>> buttons;  // labels without '&'
};

// The visible buttons from left to right, as the person sees them.
BoxInfo Inspect(HWND hwnd) {
  BoxInfo info;
  info.caption = WindowText(hwnd);
  std::vector<std::pair<LONG, HWND>> buttons;
  for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    std::string cls = ClassOf(c);
    if (cls == "Button" && IsWindowVisible(c)) {
      RECT r;
      GetWindowRect(c, &r);
      buttons.push_back({r.left, c});
    }
    if (cls == "Static" && GetDlgCtrlID(c) == 0xFFFF && info.text.empty()) info.text = WindowText(c);
  }
  std::stable_sort(buttons.begin(), buttons.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& b : buttons) info.buttons.push_back({StripMnemonic(WindowText(b.second)), b.second});
  return info;
}

// The input box: types the answer into its edit field and presses the
// button, as a person would.
golden::Entry AnswerInputBox(HWND dialog, HWND edit, const golden::Entry* want) {
  std::string typed, button = "Cancel";
  if (want && want->kind == "input" && want->fields.size() >= 4) {
    typed = want->fields[2];
    button = want->fields[3];
  }
  bool multiline = (GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) != 0;
  std::string question = WindowText(GetDlgItem(dialog, 0xFFFF));
  for (wchar_t c : Wide(typed)) PostMessageW(edit, WM_CHAR, c, 0);
  HWND press = GetDlgItem(dialog, button == "OK" ? IDOK : IDCANCEL);
  PostMessageW(press, BM_CLICK, 0, 0);
  return {"input", {question, multiline ? "multiline" : "single", typed, button}};
}

// The expected list stands in for a menu that cannot be read: the choice
// made by keyboard below still proves the order and the separators, which
// the arrow keys skip.
std::vector<golden::MenuLine> MenuLines(HWND menuWindow, const golden::Entry* want) {
  std::vector<golden::MenuLine> lines = ReadMenu(menuWindow);
  if (!lines.empty() || !want || want->kind != "menu" || want->fields.empty()) return lines;
  return golden::ParseMenuLines(want->fields[0]);
}

// Chooses the expected item with the arrow keys and Enter, or cancels
// with Escape.
golden::Entry AnswerMenu(HWND menuWindow, const golden::Entry* want) {
  std::vector<golden::MenuLine> lines = MenuLines(menuWindow, want);
  std::string choice = want && want->kind == "menu" && want->fields.size() >= 2 ? want->fields[1] : "-";
  int downs = 0, presses = -1;
  for (const auto& line : lines) {
    if (line.separator) continue;
    ++downs;
    if (presses < 0 && !line.grayed && line.text == choice) presses = downs;
  }
  if (presses < 0) {
    PostKey(menuWindow, VK_ESCAPE);
    choice = "-";
  } else {
    for (int i = 0; i < presses; ++i) PostKey(menuWindow, VK_DOWN);
    PostKey(menuWindow, VK_RETURN);
  }
  return {"menu", {golden::FormatMenuLines(lines), choice}};
}

std::vector<wchar_t> Environment(const std::vector<std::string>& extra) {
  std::vector<wchar_t> block;
  wchar_t* env = GetEnvironmentStringsW();
  for (wchar_t* p = env; *p; p += wcslen(p) + 1) block.insert(block.end(), p, p + wcslen(p) + 1);
  FreeEnvironmentStringsW(env);
  for (const auto& e : extra) {
    std::wstring w = Wide(e);
    block.insert(block.end(), w.begin(), w.end());
    block.push_back(L'\0');
  }
  block.push_back(L'\0');
  return block;
}

}  // namespace

RunResult RunProgram(const std::string& exe, const RunOptions& options) {
  std::wstring cmd = golden::CommandLine(exe, options.args);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::vector<wchar_t> env = Environment(options.env);
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, env.data(), nullptr,
                      &si, &pi))
    return RunResult();
  CloseHandle(pi.hThread);
  return WatchProcess(pi.hProcess, options);
}

RunResult WatchProcess(HANDLE process, const RunOptions& options) {
  RunResult result;
  result.started = true;
  PROCESS_INFORMATION pi{};
  pi.hProcess = process;
  pi.dwProcessId = GetProcessId(process);

  std::set<HWND> answered, shown;
  size_t next = 0;
  DWORD start = GetTickCount();
  bool stopWatching = false;
  while (!stopWatching) {
    // The test's own windows live on this thread: keep them answering.
    if (MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 30, QS_ALLINPUT) == WAIT_OBJECT_0) {
      result.ended = true;
      break;
    }
    Pump();
    if (GetTickCount() - start > static_cast<DWORD>(options.timeoutMs)) break;
    Finder finder{pi.dwProcessId, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&finder));
    for (HWND hwnd : finder.windows) {
      if (options.onWindow && IsWindowVisible(hwnd) && shown.insert(hwnd).second) options.onWindow(hwnd);
      if (GetDlgItem(hwnd, 1001)) {  // the runner's own dialog
        MainDialogState& md = result.mainDialog;
        md.visible = IsWindowVisible(hwnd) != 0;
        md.status = WindowText(GetDlgItem(hwnd, 1001));
        md.output = WindowText(GetDlgItem(hwnd, 1000));
        if (md.visible && options.onMainDialog && options.onMainDialog(hwnd, md)) stopWatching = true;
        continue;
      }
      if (answered.count(hwnd)) continue;
      if (!IsWindowVisible(hwnd)) continue;
      const golden::Entry* want = next < options.expected.size() ? &options.expected[next] : nullptr;
      HWND edit = GetDlgItem(hwnd, 5);
      if (ClassOf(hwnd) == "#32768" || (edit && ClassOf(edit) == "Edit")) {
        result.entries.push_back(edit ? AnswerInputBox(hwnd, edit, want) : AnswerMenu(hwnd, want));
        if (options.onEntry) options.onEntry(result.entries.back());
        answered.insert(hwnd);
        ++next;
        continue;
      }
      BoxInfo box = Inspect(hwnd);
      if (box.buttons.empty()) continue;  // still being built
      std::string answer = box.buttons.front().first, labels;
      if (want && want->kind == "box" && want->fields.size() >= 4) answer = want->fields[3];
      HWND button = box.buttons.front().second;  // when the answer is not there
      for (const auto& [label, handle] : box.buttons) {
        labels += (labels.empty() ? "" : "|") + label;
        if (label == answer) button = handle;
      }
      ++next;
      result.entries.push_back({"box", {box.caption, labels, box.text, answer}});
      if (options.onEntry) options.onEntry(result.entries.back());
      answered.insert(hwnd);
      PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
  }
  if (!result.ended) {
    TerminateProcess(pi.hProcess, 99);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  GetExitCodeProcess(pi.hProcess, &result.exitCode);
  CloseHandle(pi.hProcess);
  return result;
}

}  // namespace zun::e2e
