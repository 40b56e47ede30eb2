// Values and their containers: conversions, elements by position and name.
#include <gtest/gtest.h>

#include "engine/value.h"

namespace zun {
namespace {

EScriptValue Str(const u16& s) { return EScriptValue::String(s); }

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
      {EScriptValue::Double(2.5), SEVT_STRING, true, u"type:string,value:2.5000000000,name in array:"},
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

TEST(Containers, SizeChangesKeepOrder) {
  EArray<int> a;
  for (int i = 0; i < 100000; ++i) a.Add(i);
  EXPECT_EQ(a.GetSize(), 100000);
  EXPECT_EQ(a[99999], 99999);
  EXPECT_FALSE(a.SetSize(-1));
  EXPECT_TRUE(a.SetSize(3));
  EXPECT_EQ(a.GetSize(), 3);
  EXPECT_EQ(a[2], 2);
  a.SetSize(5);
  EXPECT_EQ(a[3], 0);  // new elements are value-initialised
}

TEST(Containers, ElementsByPositionAndName) {
  EScriptValue a = EScriptValue::Array();
  for (int i = 0; i < 3; ++i) a.AppendElement(EScriptValue::Int(i));
  EXPECT_EQ(a.GetElementAt(3), nullptr);
  EXPECT_EQ(a.GetElementAt(-1), nullptr);
  ASSERT_NE(a.GetElementAt(2), nullptr);

  bool created = false;
  const EScriptValue* k = a.GetOrAddElementByName(u"k", created);
  ASSERT_NE(k, nullptr);
  EXPECT_TRUE(created);
  EXPECT_EQ(a.GetElementCount(), 4);
  EXPECT_EQ(k->name, u"k");
  created = false;
  EXPECT_EQ(a.GetOrAddElementByName(u"k", created), a.GetElementAt(3));
  EXPECT_FALSE(created);
  EXPECT_EQ(a.FindElementIndexByName(u"K"), -1);
  EXPECT_EQ(a.FindElementIndexByName(u"0"), -1);  // a number-like key is a name

  EScriptValue named = EScriptValue::Int(9);
  named.name = u"other";
  EXPECT_TRUE(a.AddElementByName(u"key", named));
  EXPECT_EQ(a.elements[4].name, u"key");  // the key wins over the value's name
  EScriptValue notArray = EScriptValue::Int(1);
  EXPECT_FALSE(notArray.AddElementByName(u"x", named));
  EXPECT_EQ(notArray.GetOrAddElementByName(u"x", created), nullptr);
}

// A large associative array finds each name's first element through its
// index's growths, duplicates and renames, as a scan from the start would.
TEST(Containers, NamesStayFoundInALargeArray) {
  EScriptValue a = EScriptValue::Array();
  constexpr int kNames = 5000;  // the index grows many times
  bool created = false;
  for (int i = 0; i < kNames; ++i) a.GetOrAddElementByName(u"k" + Int64ToString(i), created);
  for (int i = 0; i < kNames; i += 7) {  // a second carrier of some names
    EScriptValue dup = EScriptValue::Int(i);
    a.AddElementByName(u"k" + Int64ToString(i), dup);
  }
  // Renames: the first carrier of k0, k7, ... takes a new name; the second
  // carrier becomes the first. k1, k2, ... lose their only carrier.
  for (int i = 0; i < kNames; ++i) {
    if (i % 7 != 0 && i % 3 != 0) continue;
    EScriptValue renamed = EScriptValue::Int(-i);
    renamed.name = u"r" + Int64ToString(i);
    a.SetElementAt(i, renamed);
  }
  auto scan = [&a](const u16& key) {
    for (int j = 0; j < a.GetElementCount(); ++j)
      if (a.GetElementAt(j)->name == key) return j;
    return -1;
  };
  for (int i = 0; i < kNames; ++i) {
    for (const u16& key : {u"k" + Int64ToString(i), u"r" + Int64ToString(i)})
      ASSERT_EQ(a.FindElementIndexByName(key), scan(key)) << "name " << std::string(key.begin(), key.end());
  }
  EXPECT_EQ(a.FindElementIndexByName(u"k" + Int64ToString(kNames)), -1);
  EXPECT_GT(a.FindElementIndexByName(u"k7"), kNames - 1);  // the duplicate, now the first
  EXPECT_EQ(a.FindElementIndexByName(u"k3"), -1);          // renamed away
}

// Packing is unseen by scripts (the cases show that results stay as they
// are); this holds that it happens, and only where it may.
TEST(Containers, LongListsOfOneNumberTypePack) {
  auto list = [](int n, const EScriptValue& each) {
    EScriptValue a = EScriptValue::Array();
    for (int i = 0; i < n; ++i) a.AppendElement(each);
    return a;
  };
  EScriptValue doubles = list(100, EScriptValue::Double(1.5));
  EXPECT_EQ(doubles.elements.PackedType(), SEVT_DOUBLE);
  EXPECT_EQ(list(100, EScriptValue::Int(2)).elements.PackedType(), SEVT_INT);
  EXPECT_EQ(list(63, EScriptValue::Int(2)).elements.PackedType(), 0);  // short lists stay values
  EXPECT_EQ(list(100, Str(u"1")).elements.PackedType(), 0);
  EScriptValue named = EScriptValue::Int(2);
  named.name = u"n";
  EXPECT_EQ(list(100, named).elements.PackedType(), 0);
  EScriptValue mixed = list(63, EScriptValue::Int(2));
  mixed.AppendElement(EScriptValue::Double(2));
  EXPECT_EQ(mixed.elements.PackedType(), 0);

  // A copy shares the packed list; a store of another kind unpacks only the copy.
  EScriptValue copy = doubles;
  EXPECT_TRUE(copy.SetElementAt(3, EScriptValue::Int(7)));
  EXPECT_EQ(copy.elements.PackedType(), 0);
  EXPECT_EQ(doubles.elements.PackedType(), SEVT_DOUBLE);
  EXPECT_EQ(copy.GetElementAt(3)->GetInfo(), u"type:int,value:7,name in array:");
  EXPECT_EQ(copy.GetElementAt(4)->GetInfo(), u"type:double,value:1.500,name in array:");

  // A read as a value unpacks for good, with the same elements.
  u16 printed = doubles.ToString();
  ASSERT_NE(doubles.GetElementAt(99), nullptr);
  EXPECT_EQ(doubles.elements.PackedType(), 0);
  EXPECT_EQ(doubles.ToString(), printed);
  doubles.AppendElement(EScriptValue::Double(1.5));
  EXPECT_EQ(doubles.elements.PackedType(), 0);
}

}  // namespace
}  // namespace zun
