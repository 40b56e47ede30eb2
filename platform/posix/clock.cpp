// Time of day and calendar conversion on POSIX.
#include <ctime>

#include "platform/clock.h"

namespace zun::platform {

int64_t CurrentTime() { return static_cast<int64_t>(std::time(nullptr)); }

bool ToLocalTime(int64_t t, LocalTime& out) {
  if (t < 0 || t > kMaxTimeValue) return false;
  time_t tt = static_cast<time_t>(t);
  struct tm tm {};
  if (!localtime_r(&tt, &tm)) return false;
  FieldsFromTm(tm, out);
  out.zoneName = FromUtf8(tm.tm_zone ? tm.tm_zone : "");
  return true;
}

}  // namespace zun::platform
