// InputBox: a modal dialog built in memory, its controls placed in pixels
// once the dialog knows its width.
#include <windows.h>

#include <vector>

#include "platform/win32/input_box.h"
#include "platform/win32/placement.h"
#include "platform/win32/wide.h"

namespace zun {

namespace {

constexpr int kEditId = 5;
constexpr DWORD kSingleLineEdit = WS_VISIBLE | ES_AUTOHSCROLL;
constexpr DWORD kMultiLineEdit =
    kSingleLineEdit | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_NOHIDESEL | WS_VSCROLL | WS_HSCROLL;
static_assert(kSingleLineEdit == 0x10000080 && kMultiLineEdit == 0x103011C4, "the styles the dialogs always had");

struct InputState {
  const u16* question;
  bool multiline;
  HWND edit = nullptr;
  std::wstring text;
};

// A dialog template without controls: popup, caption, visible.
std::vector<WORD> DialogTemplate(bool multiline) {
  std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* dlg = reinterpret_cast<DLGTEMPLATE*>(t.data());
  dlg->style = WS_POPUP | WS_CAPTION | WS_VISIBLE | WS_SYSMENU | DS_MODALFRAME;
  dlg->cx = multiline ? 450 : 150;
  dlg->cy = multiline ? 245 : 47;
  t.push_back(0);  // no menu
  t.push_back(0);  // the dialog class
  for (const wchar_t* p = L"ZUN Script : question"; *p; ++p) t.push_back(static_cast<WORD>(*p));
  t.push_back(0);
  if (t.size() % 2) t.push_back(0);  // DWORD alignment of what follows
  return t;
}

HWND Control(HWND dialog, const wchar_t* cls, const std::wstring& text, DWORD style, int id, RECT r, HFONT font) {
  HWND h =
      CreateWindowExW(0, cls, text.c_str(), WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top, dialog,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (h && font) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return h;
}

void CreateControls(HWND dialog, InputState& state) {
  HFONT font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
  if (font) SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  RECT w;
  GetWindowRect(dialog, &w);
  int width = w.right - w.left;
  int y = state.multiline ? 463 : 63;
  Control(dialog, L"STATIC", ToWide(*state.question), WS_VISIBLE, 0xFFFF, {10, 10, width - 20, 28}, font);
  state.edit = Control(dialog, L"EDIT", L"", state.multiline ? kMultiLineEdit : kSingleLineEdit, kEditId,
                       {10, 33, width - 20, state.multiline ? 453 : 53}, font);
  Control(dialog, L"BUTTON", L"OK", WS_VISIBLE | BS_PUSHBUTTON, IDOK, {width - 200, y, width - 110, y + 20}, font);
  Control(dialog, L"BUTTON", L"Cancel", WS_VISIBLE | BS_PUSHBUTTON, IDCANCEL, {width - 105, y, width - 20, y + 20},
          font);
}

INT_PTR CALLBACK InputProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<InputState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      state = reinterpret_cast<InputState*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      CreateControls(dialog, *state);
      CenterOnOwnerOrCursor(dialog, GetWindow(dialog, GW_OWNER));
      // On top of every window once, then an ordinary window again.
      SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      SetWindowPos(dialog, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      SetFocus(state->edit);
      return FALSE;
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      if (id != IDOK && id != IDCANCEL) return FALSE;
      int n = GetWindowTextLengthW(state->edit);
      state->text.assign(static_cast<size_t>(n) + 1, L'\0');
      GetWindowTextW(state->edit, state->text.data(), n + 1);
      state->text.resize(wcslen(state->text.c_str()));
      EndDialog(dialog, id);
      return TRUE;
    }
    default: return FALSE;
  }
}

}  // namespace

u16 ShowInputBox(void* owner, const u16& question, bool multiline, int& button) {
  HWND ownerWnd = static_cast<HWND>(owner);
  std::vector<WORD> tmpl = DialogTemplate(multiline);
  InputState state{&question, multiline, nullptr, {}};
  // The desktop stands in for a missing owner; it is never disabled.
  if (ownerWnd) EnableWindow(ownerWnd, FALSE);
  INT_PTR r =
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(tmpl.data()),
                              ownerWnd ? ownerWnd : GetDesktopWindow(), InputProc, reinterpret_cast<LPARAM>(&state));
  if (ownerWnd) EnableWindow(ownerWnd, TRUE);
  button = r == IDOK ? ID_OK : ID_CANCEL;
  return FromWide(state.text);
}

}  // namespace zun
