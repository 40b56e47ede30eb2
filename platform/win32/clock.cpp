#include <time.h>
#include <windows.h>

#include "platform/clock.h"
#include "platform/win32/wide.h"

namespace zun::platform {

int64_t CurrentTime() { return static_cast<int64_t>(_time64(nullptr)); }

bool ToLocalTime(int64_t t, LocalTime& out) {
  if (t < 0 || t > kMaxTimeValue) return false;
  __time64_t tt = t;
  struct tm tm{};
  if (_localtime64_s(&tm, &tt) != 0) return false;
  out.year = tm.tm_year + 1900;
  out.month = tm.tm_mon + 1;
  out.day = tm.tm_mday;
  out.weekday = tm.tm_wday;
  out.yearDay = tm.tm_yday;
  out.hour = tm.tm_hour;
  out.minute = tm.tm_min;
  out.second = tm.tm_sec;
  out.dst = tm.tm_isdst > 0;
  TIME_ZONE_INFORMATION tz{};
  DWORD mode = GetTimeZoneInformation(&tz);
  out.zoneName = FromWide(out.dst && mode == TIME_ZONE_ID_DAYLIGHT ? tz.DaylightName : tz.StandardName);
  return true;
}

}  // namespace zun::platform
