#include <gtest/gtest.h>
#include <cmath>

#include "engine/value.h"

namespace zun {
namespace {

EScriptValue Str(const u16& s) { return EScriptValue::String(s); }
EScriptValue Int(int64_t n) { return EScriptValue::Int(n); }
EScriptValue Dbl(double d) { return EScriptValue::Double(d); }

TEST(Value, TextForms) {
  EXPECT_EQ(Dbl(7.0).ToString(), u"7");
  EXPECT_EQ(Dbl(0.1).ToString(), u"0.100");
  EXPECT_EQ(Dbl(-0.25).ToString(), u"-0.250");
  EXPECT_EQ(Dbl(1e20).ToString(), u"100000000000000000000.000");
  EXPECT_EQ(Dbl(-9223372036854775808.0).ToString(), u"-9223372036854775808");
  EXPECT_EQ(EScriptValue().ToString(), u"");
  EScriptValue inner = EScriptValue::Array();
  inner.AppendElement(Int(2));
  inner.AppendElement(Int(3));
  EScriptValue outer = EScriptValue::Array();
  outer.AppendElement(Int(1));
  outer.AppendElement(Str(u"a"));
  outer.AppendElement(inner);
  EXPECT_EQ(outer.ToString(), u"1,a,2,3");
}

TEST(Value, NumericReadingsDemandALeadingDigit) {
  double d = 1;
  EXPECT_FALSE(Str(u"-5").GetDouble(d));
  EXPECT_EQ(d, 0.0);
  EXPECT_FALSE(Str(u" 5").GetDouble(d));
  EXPECT_TRUE(Str(u"12abc").GetDouble(d));
  EXPECT_EQ(d, 12.0);
  int64_t n = 0;
  EXPECT_TRUE(Str(u"12.7").GetInt64(n));
  EXPECT_EQ(n, 12);
  EXPECT_FALSE(EScriptValue::Array().GetInt64(n));
}

TEST(Value, ChangeTypeTable) {
  EScriptValue v = Str(u"-5");
  EXPECT_TRUE(v.ChangeType(SEVT_INT));
  EXPECT_EQ(v.type, SEVT_INT);
  EXPECT_EQ(v.nValue, -5);

  v = Str(u"");
  EXPECT_TRUE(v.ChangeType(SEVT_INT));
  EXPECT_EQ(v.type, SEVT_DOUBLE);  // a double even when an int was asked for

  v = Str(u"x");
  EXPECT_FALSE(v.ChangeType(SEVT_INT));
  EXPECT_EQ(v.type, SEVT_DOUBLE);
  EXPECT_EQ(v.dValue, 0.0);

  v = Str(u"99999999999");
  EXPECT_TRUE(v.ChangeType(SEVT_INT));
  EXPECT_EQ(v.nValue, INT32_MAX);  // a 32-bit reading

  v = Dbl(2.5);
  EXPECT_TRUE(v.ChangeType(SEVT_STRING));
  EXPECT_EQ(v.strValue, u"2.5000000000");

  v = Str(u"abc");
  EXPECT_FALSE(v.ChangeType(SEVT_ARRAY));
  EXPECT_EQ(v.type, SEVT_STRING);

  v = EScriptValue();
  v.strValue = u"kept";
  EXPECT_TRUE(v.ChangeType(SEVT_STRING));
  EXPECT_EQ(v.strValue, u"kept");  // from empty the old text stays

  v = EScriptValue::Array();
  EXPECT_FALSE(v.ChangeType(SEVT_INT));
}

TEST(Value, Truth) {
  EXPECT_FALSE(Dbl(0.99).IsTrue());
  EXPECT_TRUE(Dbl(-1.5).IsTrue());
  EXPECT_FALSE(Str(u"0.99").IsTrue());
  EXPECT_TRUE(Str(u"-5").IsTrue());
  EXPECT_TRUE(Str(u"1abc").IsTrue());
  EXPECT_FALSE(Str(u"-0").IsTrue());
  EXPECT_FALSE(Str(u"abc").IsTrue());
  EXPECT_FALSE(Str(u" 1").IsTrue());
  EXPECT_TRUE(EScriptValue::Array().IsTrue());
  EXPECT_FALSE(EScriptValue().IsTrue());
}

TEST(Value, CompareAcrossTypes) {
  EXPECT_EQ(EScriptValue::Compare(EScriptValue(), Int(0)), 0);
  EXPECT_EQ(EScriptValue::Compare(EScriptValue(), Str(u"")), 0);
  EXPECT_EQ(EScriptValue::Compare(Int(0), EScriptValue()), -2);
  EXPECT_EQ(EScriptValue::Compare(Str(u"abc"), Str(u"ABC")), 0);
  EXPECT_EQ(EScriptValue::Compare(Str(u"a"), Str(u"b")), -1);
  EXPECT_EQ(EScriptValue::Compare(Str(u"10"), Dbl(10)), 0);
  EXPECT_EQ(EScriptValue::Compare(Str(u"x"), Dbl(10)), -2);
  EXPECT_EQ(EScriptValue::Compare(Dbl(std::nan("")), Dbl(1)), 1);
  EXPECT_EQ(EScriptValue::Compare(Int(3), Dbl(2.5)), 1);
  EXPECT_EQ(EScriptValue::Compare(EScriptValue(), EScriptValue()), -2);
}

TEST(Value, AddRules) {
  EScriptValue v;
  EXPECT_TRUE(v.Add(Int(5)));
  EXPECT_EQ(v.type, SEVT_INT);
  EXPECT_EQ(v.nValue, 5);

  v = Int(5);
  EXPECT_TRUE(v.Add(Dbl(2.7)));
  EXPECT_EQ(v.type, SEVT_INT);
  EXPECT_EQ(v.nValue, 7);

  v = Dbl(2.5);
  EXPECT_TRUE(v.Add(Int(1)));
  EXPECT_EQ(v.dValue, 3.5);

  v = Str(u"a");
  EXPECT_TRUE(v.Add(Str(u"b")));
  EXPECT_EQ(v.strValue, u"ab");

  v = Int(5);
  EXPECT_TRUE(v.Add(Str(u"a")));
  EXPECT_EQ(v.strValue, u"5a");

  v = Str(u"12");
  EXPECT_TRUE(v.Add(Int(5)));
  EXPECT_EQ(v.type, SEVT_INT);
  EXPECT_EQ(v.nValue, 17);

  v = Str(u"1.5");
  EXPECT_TRUE(v.Add(Int(2)));
  EXPECT_EQ(v.type, SEVT_INT);
  EXPECT_EQ(v.nValue, 3);

  v = Int(5);
  EXPECT_FALSE(v.Add(EScriptValue()));

  v = Str(u"a");
  EXPECT_FALSE(v.Add(Int(1)));
  EXPECT_EQ(v.type, SEVT_DOUBLE);

  v = Int(INT64_MAX);
  EXPECT_TRUE(v.Add(Int(1)));  // wraps, no undefined behaviour
  EXPECT_EQ(v.nValue, INT64_MIN);

  EScriptValue arr = EScriptValue::Array();
  arr.Add(Int(1));
  arr.Add(Int(2));
  EXPECT_TRUE(arr.Add(Int(5)));
  EXPECT_EQ(arr.GetElementCount(), 3);

  EScriptValue nested;
  EXPECT_TRUE(nested.Add(arr));
  EXPECT_EQ(nested.GetElementCount(), 1);
  EXPECT_EQ(nested.elements[0].GetElementCount(), 3);
}

TEST(Value, NamesFollowCopyIfSet) {
  EScriptValue named = Int(1);
  named.name = u"x";
  EScriptValue target = Int(2);
  target.name = u"k";
  target.CopyFrom(named);
  EXPECT_EQ(target.name, u"x");
  target.CopyFrom(Int(3));
  EXPECT_EQ(target.name, u"x");
  EScriptValue copy(named);
  EXPECT_EQ(copy.GetInfo(), u"type:int,value:1,name in array:x");
  EScriptValue moved = EScriptValue::Int(4);
  moved.name = u"m";
  target = std::move(moved);
  EXPECT_EQ(target.name, u"m");
}

TEST(Value, CopyingFromOwnElementIsSafe) {
  EScriptValue arr = EScriptValue::Array();
  EScriptValue inner = EScriptValue::Array();
  inner.AppendElement(Str(u"deep"));
  arr.AppendElement(inner);
  arr.CopyFrom(arr.elements[0]);
  EXPECT_EQ(arr.ToString(), u"deep");
  arr = std::move(arr.elements[0]);
  EXPECT_EQ(arr.ToString(), u"deep");
}

}  // namespace
}  // namespace zun
