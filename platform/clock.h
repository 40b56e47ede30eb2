// Time of day and local calendar conversion.
#pragma once

#include <cstdint>
#include <ctime>

#include "text/text.h"

namespace zun::platform {

struct LocalTime {
  int year = 0;     // e.g. 2010
  int month = 0;    // 1..12
  int day = 0;      // 1..31
  int weekday = 0;  // 0 = Sunday
  int yearDay = 0;  // 0..365
  int hour = 0, minute = 0, second = 0;
  bool dst = false;
  u16 zoneName;
};

// The fields both C libraries' broken-down times share (not the zone name).
inline void FieldsFromTm(const std::tm& tm, LocalTime& out) {
  out.year = tm.tm_year + 1900;
  out.month = tm.tm_mon + 1;
  out.day = tm.tm_mday;
  out.weekday = tm.tm_wday;
  out.yearDay = tm.tm_yday;
  out.hour = tm.tm_hour;
  out.minute = tm.tm_min;
  out.second = tm.tm_sec;
  out.dst = tm.tm_isdst > 0;
}

// Seconds since 1970-01-01 00:00:00 UTC.
int64_t CurrentTime();
// The largest time value the runtime's 64-bit local-time conversion takes
// (3000-12-31 23:59:59 UTC); both builds refuse the same range.
constexpr int64_t kMaxTimeValue = 32535215999;
// Local calendar fields of t in the machine's zone; false for a negative t or
// one past kMaxTimeValue.
bool ToLocalTime(int64_t t, LocalTime& out);

}  // namespace zun::platform
