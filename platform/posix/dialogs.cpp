// Without a desktop the platform's dialogs write to standard error and
// answer with the default button; hosts install their own for real answers.
#include <cstdio>

#include "platform/dialogs.h"

namespace zun {

namespace {

class StderrDialogs : public IScriptDialogs {
 public:
  int MessageBox(void*, const u16& text, const u16& caption, uint32_t type) override {
    std::fprintf(stderr, "[%s] %s\n", ToUtf8(caption).c_str(), ToUtf8(text).c_str());
    return MessageBoxButtons(type).front();
  }
  u16 InputBox(void*, const u16& question, bool, int& button) override {
    std::fprintf(stderr, "[input] %s (no terminal dialogs: cancelled)\n", ToUtf8(question).c_str());
    button = ID_CANCEL;
    return u16();
  }
  int ShowMenu(void*, const std::vector<MenuItem>&) override { return -1; }
};

}  // namespace

IScriptDialogs& DefaultDialogs() {
  static StderrDialogs dialogs;
  return dialogs;
}

}  // namespace zun
