#include <gtest/gtest.h>

#include "engine/engine.h"
#include "tests/support/recording_dialogs.h"

namespace zun {
namespace {

class Constants : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.SetDialogs(&dialogs);
    engine.Initialize();
  }
  EScriptValue Get(const u16& name) {
    EScriptValue v;
    EXPECT_TRUE(engine.GetConstantValue(name, v)) << ToUtf8(name);
    return v;
  }
  golden::RecordingDialogs dialogs;
  EZunScriptEngine engine;
};

TEST_F(Constants, TableSize) {
  EXPECT_EQ(ConstantRegistrationCount(), 549);
  EXPECT_EQ(engine.constants.GetCount(), 548);
}

TEST_F(Constants, EngineRows) {
  EXPECT_EQ(Get(u"TRUE").nValue, 1);
  EXPECT_EQ(Get(u"true").nValue, 1);
  EXPECT_EQ(Get(u"NONE").nValue, 2);
  EXPECT_EQ(Get(u"none").type, SEVT_INT);
  EXPECT_EQ(Get(u"NULL").nValue, 0);
  EScriptValue pi = Get(u"PI");
  EXPECT_EQ(pi.type, SEVT_DOUBLE);
  EXPECT_EQ(pi.dValue, 3.14159265358979);
  EXPECT_EQ(Get(u"ENDL").strValue, u"\r\n");
  EScriptValue untouched = EScriptValue::String(u"keep");
  EXPECT_FALSE(engine.GetConstantValue(u"True", untouched));
  EXPECT_EQ(untouched.strValue, u"keep");
}

TEST_F(Constants, TellingWindowsRows) {
  const std::pair<const char16_t*, int64_t> rows[] = {
      {u"WM_KEYLAST", 265},     {u"WM_MOUSELAST", 525},      {u"LB_MSGMAX", 435},
      {u"CB_MSGMAX", 357},      {u"WHEEL_PAGESCROLL", 4294967295}, {u"EM_SETLIMITTEXT", 197},
      {u"EM_LIMITTEXT", 197},   {u"VK_HANGUL", 21},          {u"VK_KANA", 21},
      {u"MB_OK", 0},            {u"IDOK", 1},                {u"IDCONTINUE", 11},
      {u"VK_RETURN", 13},       {u"VK_F24", 135},            {u"VK_PACKET", 231},
      {u"CSIDL_APPDATA", 26},   {u"CSIDL_COMMON_VIDEO", 55}, {u"SW_FORCEMINIMIZE", 11},
      {u"SW_SHOW", 5},          {u"WM_COMMAND", 273},        {u"WM_PENWINLAST", 911},
      {u"EM_GETIMESTATUS", 217}, {u"SBM_GETSCROLLINFO", 234},
  };
  for (const auto& [name, value] : rows) EXPECT_EQ(Get(name).nValue, value) << ToUtf8(name);
  EScriptValue v;
  EXPECT_FALSE(engine.GetConstantValue(u"MB_ICONERROR", v));  // only the button sets
}

}  // namespace
}  // namespace zun
