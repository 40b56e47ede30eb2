// The runner: a dialog application that runs one script file.
#pragma once

#include "engine/engine.h"
#include "framework/afxwin.h"

namespace zun {

class CZunRunApp : public CWinApp {
 public:
  BOOL InitInstance() override;
  // The process's exit status (see runner/exit_status.h).
  int ExitInstance() override;

 private:
  int m_nExitStatus = 0;
};

extern CZunRunApp theApp;
extern EZunScriptEngine g_engine;
extern u16 g_strScriptPath;
extern u16 g_strScriptText;
extern bool g_bDeleteScript;
extern HWND g_hDialog;

}  // namespace zun
