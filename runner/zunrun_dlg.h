// The runner's main dialog: invisible while a script runs; it shows itself
// only to explain why nothing can run.
#pragma once

#include "framework/afxwin.h"

namespace zun {

class CZunRunDlg : public CDialog {
 public:
  explicit CZunRunDlg(CWnd* parent = nullptr);

  HICON m_hIcon;
  bool m_bKeepHidden = true;

  // A worker started: the dialog did not have to explain anything.
  bool RanScript() const { return m_bRanScript; }

  // The texts of the output box, lines joined by CR LF.
  static u16 UsageText();
  static u16 LoadFailureText(const u16& path);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  bool OnSysCommand(UINT id, LPARAM lParam) override;
  bool OnPaint() override;
  HCURSOR OnQueryDragIcon() override;
  bool OnWindowPosChanging(WINDOWPOS* pos) override;

 private:
  void Explain(const wchar_t* status, const u16& output);
  bool m_bRanScript = false;
};

}  // namespace zun
