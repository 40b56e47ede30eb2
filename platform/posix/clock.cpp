#include <ctime>

#include "platform/clock.h"

namespace zun::platform {

int64_t CurrentTime() { return static_cast<int64_t>(std::time(nullptr)); }

bool ToLocalTime(int64_t t, LocalTime& out) {
  if (t < 0 || t > kMaxTimeValue) return false;
  time_t tt = static_cast<time_t>(t);
  struct tm tm{};
  if (!localtime_r(&tt, &tm)) return false;
  out.year = tm.tm_year + 1900;
  out.month = tm.tm_mon + 1;
  out.day = tm.tm_mday;
  out.weekday = tm.tm_wday;
  out.yearDay = tm.tm_yday;
  out.hour = tm.tm_hour;
  out.minute = tm.tm_min;
  out.second = tm.tm_sec;
  out.dst = tm.tm_isdst > 0;
  out.zoneName = FromUtf8(tm.tm_zone ? tm.tm_zone : "");
  return true;
}

}  // namespace zun::platform
