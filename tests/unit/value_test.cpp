#include <gtest/gtest.h>

#include "engine/value.h"

namespace zun {
namespace {

EScriptValue Str(const u16& s) { return EScriptValue::String(s); }
EScriptValue Int(int64_t n) { return EScriptValue::Int(n); }
EScriptValue Dbl(double d) { return EScriptValue::Double(d); }

TEST(Value, ChangeTypeTable) {
  EScriptValue emptyWithText;
  emptyWithText.strValue = u"kept";  // from empty the old text stays
  struct Case {
    EScriptValue from;
    int32_t to;
    bool changed;
    const char16_t* result;  // GetInfo() afterwards
  };
  const Case cases[] = {
      {Str(u"-5"), SEVT_INT, true, u"type:int,value:-5,name in array:"},
      {Str(u""), SEVT_INT, true, u"type:double,value:0,name in array:"},  // a double even when an int was asked for
      {Str(u"x"), SEVT_INT, false, u"type:double,value:0,name in array:"},
      {Str(u"99999999999"), SEVT_INT, true, u"type:int,value:2147483647,name in array:"},  // a 32-bit reading
      {Dbl(2.5), SEVT_STRING, true, u"type:string,value:2.5000000000,name in array:"},
      {Str(u"abc"), SEVT_ARRAY, false, u"type:string,value:abc,name in array:"},
      {emptyWithText, SEVT_STRING, true, u"type:string,value:kept,name in array:"},
      {EScriptValue::Array(), SEVT_INT, false, u"type:array,value:,name in array:"},
  };
  for (Case c : cases) {
    SCOPED_TRACE(ToUtf8(c.from.GetInfo()));
    EXPECT_EQ(c.from.ChangeType(c.to), c.changed);
    EXPECT_EQ(c.from.GetInfo(), c.result);
  }
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
