// The script's input box on Windows: a question, an edit field (one line or
// several), OK and Cancel.
#pragma once

#include "platform/dialogs.h"

namespace zun {

// Returns the edit field's text; button receives ID_OK or ID_CANCEL.
u16 ShowInputBox(void* owner, const u16& question, bool multiline, int& button);

}  // namespace zun
