#include "runner/command_line.h"

namespace zun {

void CZunRunCommandLineInfo::ParseParam(const u16& param, bool isSwitch, bool isLast) {
  if (isSwitch) {
    strLastSwitch = ToLower(param);
    switches[strLastSwitch] = u"TRUE";
  } else if (strLastSwitch.empty()) {
    files.push_back(param);
  } else {
    switches[strLastSwitch] = param;  // a switch takes the next plain argument
    strLastSwitch.clear();
  }
  CCommandLineInfo::ParseParam(param, isSwitch, isLast);
}

bool CZunRunCommandLineInfo::LookupSwitch(const u16& name, u16& value) const {
  auto it = switches.find(ToLower(name));
  if (it == switches.end()) return false;
  value = it->second;
  return true;
}

bool CZunRunCommandLineInfo::IsSwitchTrue(const u16& name) const {
  u16 value;
  return LookupSwitch(name, value) && CollateNoCase(value, u"TRUE") == 0;
}

}  // namespace zun
