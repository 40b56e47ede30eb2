// The one pair of conversions at the Win32 boundary (wchar_t is 16 bits).
#pragma once

#include <string>

#include "text/text.h"

namespace zun {

inline std::wstring ToWide(const u16& s) { return std::wstring(s.begin(), s.end()); }
inline u16 FromWide(const wchar_t* s) {
  u16 out;
  for (; s && *s; ++s) out.push_back(static_cast<char16_t>(*s));
  return out;
}
inline u16 FromWide(const std::wstring& s) { return u16(s.begin(), s.end()); }

}  // namespace zun
