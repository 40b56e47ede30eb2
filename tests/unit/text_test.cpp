// The text helpers: number readings, case mapping, UTF-8.
#include <gtest/gtest.h>

#include <cmath>

#include "text/text.h"

namespace zun {
namespace {

TEST(Text, DoubleReadingStopsWhereTheNumberEnds) {
  EXPECT_EQ(ReadDoublePrefix(u"12abc"), 12.0);
  EXPECT_EQ(ReadDoublePrefix(u"1e3"), 1000.0);
  EXPECT_EQ(ReadDoublePrefix(u"1e"), 1.0);
  EXPECT_EQ(ReadDoublePrefix(u"  -2.5x"), -2.5);
  EXPECT_EQ(ReadDoublePrefix(u"1.2.3"), 1.2);
  EXPECT_EQ(ReadDoublePrefix(u".5"), 0.5);
  EXPECT_EQ(ReadDoublePrefix(u"0x10"), 0.0);  // no hexadecimal floats
  EXPECT_EQ(ReadDoublePrefix(u"abc"), 0.0);
  EXPECT_TRUE(std::isinf(ReadDoublePrefix(u"1e999")));
  EXPECT_EQ(ReadDoublePrefix(u"1e-999"), 0.0);
}

TEST(Text, IntegerReadingsSaturate) {
  EXPECT_EQ(ReadInt32Prefix(u"-99999999999"), INT32_MIN);
  EXPECT_EQ(ReadInt32Prefix(u"+42z"), 42);
  EXPECT_EQ(ReadHex64(u"FFFFFFFFFFFFFFFFFFFF"), INT64_MAX);
}

TEST(Text, CaseMappingCoversLatin1) {
  EXPECT_EQ(ToUpper(u"abc\u00e9\u00ff\u00df"), u"ABC\u00c9\u0178\u00df");
  EXPECT_EQ(ToLower(u"ABC\u00c9\u00d7\u0178"), u"abc\u00e9\u00d7\u00ff");
  EXPECT_EQ(ToUpper(u"\u0105\u03b1\u0436"), u"\u0104\u0391\u0416");
}

TEST(Text, Utf8RoundTripKeepsSurrogatePairs) {
  u16 s = u"a\u00e9\u20ac\U0001F600";
  EXPECT_EQ(FromUtf8(ToUtf8(s)), s);
  EXPECT_EQ(ToUtf8(u16(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace zun
