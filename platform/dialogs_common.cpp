// What every host's dialogs share: message box buttons and their names, the standard text of
// error reports, and the dialogs of a run nobody attends.
#include "platform/dialogs.h"

namespace zun {

std::vector<int> MessageBoxButtons(uint32_t type) {
  switch (type & MB_TYPE_MASK) {
    case 1: return {ID_OK, ID_CANCEL};
    case 2: return {ID_ABORT, ID_RETRY, ID_IGNORE};
    case 3: return {ID_YES, ID_NO, ID_CANCEL};
    case 4: return {ID_YES, ID_NO};
    case 5: return {ID_RETRY, ID_CANCEL};
    case 6: return {ID_CANCEL, ID_TRYAGAIN, ID_CONTINUE};
    default: return {ID_OK};
  }
}

u16 ButtonName(int id) {
  switch (id) {
    case ID_OK: return u"OK";
    case ID_CANCEL: return u"Cancel";
    case ID_ABORT: return u"Abort";
    case ID_RETRY: return u"Retry";
    case ID_IGNORE: return u"Ignore";
    case ID_YES: return u"Yes";
    case ID_NO: return u"No";
    case ID_TRYAGAIN: return u"Try Again";
    case ID_CONTINUE: return u"Continue";
    default: return u"";
  }
}

u16 ReportsText(const std::vector<ErrorReport>& reports) {
  u16 text;
  for (const ErrorReport& r : reports)
    text += u"(pos " + Int64ToString(r.pos) + u") : " + r.message + u", code snippet:\"" + r.snippet + u"\"\r\n";
  return text;
}

namespace {

class Unattended : public IScriptDialogs {
 public:
  int MessageBox(void*, const u16&, const u16&, uint32_t type) override { return MessageBoxButtons(type).front(); }
  u16 InputBox(void*, const u16&, bool, int& button) override {
    button = ID_CANCEL;
    return u16();
  }
  int ShowMenu(void*, const std::vector<MenuItem>&) override { return -1; }
  void EngineBox(void*, const u16&) override {}
  void ErrorBox(void*, const u16&, const std::vector<ErrorReport>&) override {}
};

}  // namespace

IScriptDialogs& UnattendedDialogs() {
  static Unattended dialogs;
  return dialogs;
}

}  // namespace zun
