// The runner's command line: script files and switches ("del").
#pragma once

#include <map>
#include <vector>

#include "framework/command_line_info.h"

namespace zun {

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
