// Time of day and calendar conversion on Windows.
#include <windows.h>
#include <time.h>

#include "platform/clock.h"
#include "platform/win32/wide.h"

namespace zun::platform {

int64_t CurrentTime() { return static_cast<int64_t>(_time64(nullptr)); }

bool ToLocalTime(int64_t t, LocalTime& out) {
  if (t < 0 || t > kMaxTimeValue) return false;
  __time64_t tt = t;
  struct tm tm {};
  if (_localtime64_s(&tm, &tt) != 0) return false;
  FieldsFromTm(tm, out);
  TIME_ZONE_INFORMATION tz{};
  DWORD mode = GetTimeZoneInformation(&tz);
  out.zoneName = FromWide(out.dst && mode == TIME_ZONE_ID_DAYLIGHT ? tz.DaylightName : tz.StandardName);
  return true;
}

}  // namespace zun::platform
