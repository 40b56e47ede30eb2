// Date and time built-ins. Time values are seconds since 1970 UTC; the
// fields are local time in the machine's zone.
#include "builtins/families.h"
#include "platform/clock.h"

namespace zun::builtins {

namespace {

constexpr size_t kFormatBufferUnits = 128;  // the terminator included

const char16_t* const kDayNames[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                     u"Thursday", u"Friday", u"Saturday"};
const char16_t* const kMonthNames[] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                       u"July",    u"August",   u"September", u"October", u"November", u"December"};

void AppendNumber(u16& out, int value, int width, bool noPad) {
  u16 digits = Int64ToString(value);
  if (!noPad)
    while (static_cast<int>(digits.size()) < width) digits.insert(digits.begin(), u'0');
  out += digits;
}

bool FormatSpec(char16_t spec, bool noPad, const platform::LocalTime& t, u16& out);

bool FormatString(u16view format, const platform::LocalTime& t, u16& out) {
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != u'%') {
      out.push_back(format[i]);
      continue;
    }
    if (++i >= format.size()) return false;
    bool noPad = false;
    if (format[i] == u'#') {
      noPad = true;
      if (++i >= format.size()) return false;
    }
    if (!FormatSpec(format[i], noPad, t, out)) return false;
  }
  return true;
}

// The letters of the C library's strftime in its default "C" locale; an
// unknown letter fails the whole format, as the runtime does.
bool FormatSpec(char16_t spec, bool noPad, const platform::LocalTime& t, u16& out) {
  int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  switch (spec) {
    case u'a': out += u16(kDayNames[t.weekday]).substr(0, 3); return true;
    case u'A': out += kDayNames[t.weekday]; return true;
    case u'b': out += u16(kMonthNames[t.month - 1]).substr(0, 3); return true;
    case u'B': out += kMonthNames[t.month - 1]; return true;
    case u'c': return FormatString(u"%m/%d/%y %H:%M:%S", t, out);
    case u'd': AppendNumber(out, t.day, 2, noPad); return true;
    case u'H': AppendNumber(out, t.hour, 2, noPad); return true;
    case u'I': AppendNumber(out, hour12, 2, noPad); return true;
    case u'j': AppendNumber(out, t.yearDay + 1, 3, noPad); return true;
    case u'm': AppendNumber(out, t.month, 2, noPad); return true;
    case u'M': AppendNumber(out, t.minute, 2, noPad); return true;
    case u'p': out += t.hour < 12 ? u"AM" : u"PM"; return true;
    case u'S': AppendNumber(out, t.second, 2, noPad); return true;
    case u'U': AppendNumber(out, (t.yearDay + 7 - t.weekday) / 7, 2, noPad); return true;
    case u'w': AppendNumber(out, t.weekday, 1, noPad); return true;
    case u'W': AppendNumber(out, (t.yearDay + 7 - (t.weekday + 6) % 7) / 7, 2, noPad); return true;
    case u'x': return FormatString(u"%m/%d/%y", t, out);
    case u'X': return FormatString(u"%H:%M:%S", t, out);
    case u'y': AppendNumber(out, t.year % 100, 2, noPad); return true;
    case u'Y': AppendNumber(out, t.year, 4, noPad); return true;
    case u'z':
    case u'Z': out += t.zoneName; return true;
    case u'%': out.push_back(u'%'); return true;
    default: return false;
  }
}

// Reads the one time argument; false when the conversion failed.
bool ReadLocal(EScriptCallContext& ctx, bool& bOk, platform::LocalTime& t) {
  int64_t when = ctx.GetArgInt64(0, bOk, true);
  return bOk && platform::ToLocalTime(when, t);
}

template <int platform::LocalTime::*Field, int Offset, int Failure>
void TimeField(EScriptCallContext& ctx, EScriptValue& result, bool& bOk) {
  platform::LocalTime t;
  bool converted = ReadLocal(ctx, bOk, t);
  if (!bOk) return;
  result = EScriptValue::Int(converted ? t.*Field + Offset : Failure);
}

}  // namespace

ZUN_BUILTIN(TimeGetCurrent) {
  if (!ctx.CheckArgCount(0, true, result)) return;
  result = EScriptValue::Int(platform::CurrentTime());
}

ZUN_BUILTIN(TimeFormat) {
  int64_t when = ctx.GetArgInt64(0, bOk, true);
  u16 format = ctx.GetArgString(1, bOk, false, u"%Y-%m-%d %H:%M:%S");
  if (!bOk) return;
  platform::LocalTime t;
  u16 out;
  if (!platform::ToLocalTime(when, t) || !FormatString(format, t, out) || out.size() >= kFormatBufferUnits) out.clear();
  result = EScriptValue::String(out);
}

ZUN_BUILTIN(TimeGetYear) { TimeField<&platform::LocalTime::year, 0, 0>(ctx, result, bOk); }
ZUN_BUILTIN(TimeGetMonth) { TimeField<&platform::LocalTime::month, 0, 0>(ctx, result, bOk); }
ZUN_BUILTIN(TimeGetDay) { TimeField<&platform::LocalTime::day, 0, 0>(ctx, result, bOk); }
ZUN_BUILTIN(TimeGetDayOfWeek) { TimeField<&platform::LocalTime::weekday, 1, 0>(ctx, result, bOk); }
ZUN_BUILTIN(TimeGetHour) { TimeField<&platform::LocalTime::hour, 0, -1>(ctx, result, bOk); }
ZUN_BUILTIN(TimeGetMinute) { TimeField<&platform::LocalTime::minute, 0, -1>(ctx, result, bOk); }
ZUN_BUILTIN(TimeGetSecond) { TimeField<&platform::LocalTime::second, 0, -1>(ctx, result, bOk); }

}  // namespace zun::builtins
