// The one seam for everything that waits for a person: message boxes, the
// input box and the popup menu. The host installs an implementation on the
// engine before Initialize; the engine's own boxes (traces, warnings) use it
// too.
#pragma once

#include <cstdint>
#include <vector>

#include "text/text.h"

// <windows.h> maps MessageBox to MessageBoxW; the seam keeps its own name.
#ifdef MessageBox
#undef MessageBox
#endif

namespace zun {

// Menu item flags, as the system menu calls take them.
enum : uint32_t { MENU_GRAYED = 0x1, MENU_CHECKED = 0x8, MENU_SEPARATOR = 0x800 };

struct MenuItem {
  uint32_t flags = 0;
  int id = 0;
  u16 text;
};

// Message box button sets and results (the values of the system's).
enum : uint32_t { MB_TYPE_MASK = 0xF };
enum : int {
  ID_OK = 1,
  ID_CANCEL = 2,
  ID_ABORT = 3,
  ID_RETRY = 4,
  ID_IGNORE = 5,
  ID_YES = 6,
  ID_NO = 7,
  ID_TRYAGAIN = 10,
  ID_CONTINUE = 11
};

// One error of a run, as the engine records it: where (a position in the
// script, counted in UTF-16 units from 0, and the line and column it falls
// on, counted from 1), what, and the (at most 40) characters before the
// position, with line breaks shown as blanks.
struct ErrorReport {
  int32_t pos = 0;
  int line = 1;
  int column = 1;
  u16 message;
  u16 snippet;
};
// The standard text of a run's reports: "(pos N) : MESSAGE, code
// snippet:"SNIPPET"" and CR LF each.
u16 ReportsText(const std::vector<ErrorReport>& reports);

class IScriptDialogs {
 public:
  virtual ~IScriptDialogs() = default;
  // The window that owns the script's dialogs (null for none).
  virtual void* MainWindow() { return nullptr; }
  // The caption of the engine's own boxes: the application's title.
  virtual u16 AppTitle() { return u"ZunRun"; }
  // Returns the id of the button pressed.
  virtual int MessageBox(void* owner, const u16& text, const u16& caption, uint32_t type) = 0;
  // Returns the edit field's text; button receives ID_OK or ID_CANCEL.
  virtual u16 InputBox(void* owner, const u16& question, bool multiline, int& button) = 0;
  // Shows the items at the mouse cursor; returns the chosen id, or -1.
  virtual int ShowMenu(void* owner, const std::vector<MenuItem>& items) = 0;
  // The engine's own boxes: error reports, the traces shown after an error
  // and its warnings. A plain box with OK and the application's title.
  virtual void EngineBox(void* owner, const u16& text) { MessageBox(owner, text, AppTitle(), 0); }
  // The engine's box of its errors: `lead` (such as "ERROR! : "), then every
  // report of the run so far. A host shows the records as it likes; by
  // default an engine box of their standard text.
  virtual void ErrorBox(void* owner, const u16& lead, const std::vector<ErrorReport>& reports) {
    EngineBox(owner, lead + ReportsText(reports));
  }
};

// The buttons of a message box type, in order, as the system shows them.
std::vector<int> MessageBoxButtons(uint32_t type);
// "OK", "Cancel", "Yes", ... for a button id ("" for an unknown one).
u16 ButtonName(int id);

// Dialogs that show nothing: a message box answers with its first button,
// an input box is cancelled, a menu chooses nothing.
IScriptDialogs& UnattendedDialogs();

}  // namespace zun
