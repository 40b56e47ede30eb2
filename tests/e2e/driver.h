// The end-to-end driver: starts a program, watches the windows of its
// process, reads and answers every message box and dialog it shows, and
// reports how the process ended. Every wait is bounded.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/transcript.h"

namespace zun::e2e {

// What the main dialog of the runner showed.
struct MainDialogState {
  bool visible = false;
  std::string status;  // static 1001
  std::string output;  // edit 1000
};

struct RunOptions {
  std::vector<std::string> args;  // after the program
  std::vector<std::string> env;   // NAME=VALUE added to the environment
  int timeoutMs = 20000;
  // Answers from a transcript, in order (see RecordingDialogs::AnswersOf).
  std::vector<golden::Entry> expected;
  // Called whenever the main dialog is visible; return true to stop
  // watching (the process is then ended by the caller).
  std::function<bool(HWND dialog, const MainDialogState&)> onMainDialog;
  // Called for every box as it is answered.
  std::function<void(const golden::Entry&)> onEntry;
  // Called once for every box, input box and dialog of the program when it
  // is first seen visible, before it is answered.
  std::function<void(HWND)> onWindow;
};

struct RunResult {
  bool started = false;
  bool ended = false;  // the process ended by itself within the time
  DWORD exitCode = 0;
  std::vector<golden::Entry> entries;  // every dialog seen, as a transcript
  MainDialogState mainDialog;
  std::string Transcript() const { return golden::FormatTranscript(entries); }
};

RunResult RunProgram(const std::string& exe, const RunOptions& options);
// The same for a process started otherwise (args and env are not used);
// the handle is closed.
RunResult WatchProcess(HANDLE process, const RunOptions& options);

using golden::HostPath;

// The items of a popup menu window in the transcript's form; none when the
// menu cannot be read (Wine lets no other process read it).
std::vector<golden::MenuLine> ReadMenu(HWND menuWindow);
// A key pressed and released, posted to a window.
void PostKey(HWND hwnd, UINT key);

// Writes a file of that name (prefixed) in the temporary folder; its path.
std::string TempFile(const std::string& name, const std::string& bytes);
bool Exists(const std::string& path);
// Dispatches this thread's messages for that long (at least once), so that
// the test's own windows answer.
void Pump(int ms = 0);

// Helpers for the window tests.
std::string WindowText(HWND hwnd);
std::string Utf8(const std::wstring& w);
std::wstring Wide(const std::string& s);

}  // namespace zun::e2e
