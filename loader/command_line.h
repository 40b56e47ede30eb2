// The command-line record the hosts share: the framework's record, which
// reads a command line argument by argument, and the runner's, which keeps
// the script files and the switches ("del").
#pragma once

#include <map>
#include <vector>

#include "text/text.h"

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

// Hands every argument to info.ParseParam. An argument that starts with one
// of switchChars is a switch.
void ParseCommandLine(CCommandLineInfo& info, const std::vector<u16>& args, u16view switchChars = u"-/");

class CZunRunCommandLineInfo : public CCommandLineInfo {
 public:
  u16 strLastSwitch;
  std::vector<u16> files;
  std::map<u16, u16> switches;

  void ParseParam(const u16& param, bool isSwitch, bool isLast) override;
  bool IsSwitchTrue(const u16& name) const;
  bool LookupSwitch(const u16& name, u16& value) const;
};

}  // namespace zun
