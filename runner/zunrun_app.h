// The runner: a dialog application that runs one script file.
#pragma once

#include "engine/engine.h"
#include "framework/afxwin.h"

namespace zun {

class CZunRunApp : public CWinApp {
 public:
  BOOL InitInstance() override;
  // The process's exit status (see loader/exit_status.h).
  int ExitInstance() override;

 private:
  int m_nExitStatus = 0;
};

extern CZunRunApp theApp;
extern EZunScriptEngine g_engine;

}  // namespace zun
