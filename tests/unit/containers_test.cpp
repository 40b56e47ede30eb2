#include <gtest/gtest.h>

#include "engine/value.h"

namespace zun {
namespace {

TEST(Containers, SizeChangesKeepOrder) {
  EArray<int> a;
  for (int i = 0; i < 100000; ++i) a.Add(i);
  EXPECT_EQ(a.GetSize(), 100000);
  EXPECT_EQ(a[99999], 99999);
  EXPECT_FALSE(a.SetSize(-1));
  a.RemoveAt(1, 99997);
  EXPECT_EQ(a.GetSize(), 3);
  EXPECT_EQ(a[1], 99998);
  a.SetSize(0);
  EXPECT_EQ(a.GetCapacity(), 0);
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

}  // namespace
}  // namespace zun
