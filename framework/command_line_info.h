// The framework's command-line record and the splitting of a command line
// into arguments (portable: the runner and the console host share it).
#pragma once

#include <vector>

#include "engine/text.h"

namespace zun {

class CCommandLineInfo {
 public:
  virtual ~CCommandLineInfo() = default;
  // Called once per argument; a switch ("-x" or "/x") arrives without its
  // first character and with isSwitch set.
  virtual void ParseParam(const u16& param, bool isSwitch, bool isLast);

  // The framework's own reading of the arguments (the runner does not use it).
  u16 m_strFileName;
  bool m_bShowSplash = true;
};

// Splits a Windows command line the way the C runtime does: blanks separate,
// double quotes group (and are removed), backslashes escape quotes only
// before a quote. The first argument (the program) is not returned.
std::vector<u16> SplitCommandLine(const u16& commandLine, bool skipProgram = true);

// Hands every argument to info.ParseParam. An argument that starts with one
// of switchChars is a switch.
void ParseCommandLine(CCommandLineInfo& info, const std::vector<u16>& args, u16view switchChars = u"-/");

}  // namespace zun
