// The runner's command line: script files and /switches.
#include "loader/command_line.h"

namespace zun {

void CCommandLineInfo::ParseParam(const u16& param, bool isSwitch, bool) {
  if (isSwitch) {
    if (param == u"nologo" || param == u"NOLOGO") m_bShowSplash = false;
  } else if (m_strFileName.empty()) {
    m_strFileName = param;
  }
}

void ParseCommandLine(CCommandLineInfo& info, const std::vector<u16>& args, u16view switchChars) {
  for (size_t i = 0; i < args.size(); ++i) {
    const u16& a = args[i];
    bool isSwitch = !a.empty() && switchChars.find(a[0]) != u16view::npos;
    info.ParseParam(isSwitch ? a.substr(1) : a, isSwitch, i + 1 == args.size());
  }
}

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
