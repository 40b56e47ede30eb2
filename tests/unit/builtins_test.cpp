// The dispatch table and the internal built-ins.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "builtins/table.h"
#include "engine/engine.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/script_run.h"

namespace zun {
namespace {

using golden::Shows;

TEST(Dispatch, EveryNameIsUniqueAndExact) {
  std::set<std::u16string> names;
  for (int i = 0; i < BuiltinCount(); ++i) EXPECT_TRUE(names.insert(BuiltinName(i)).second) << ToUtf8(BuiltinName(i));
  EXPECT_EQ(FindBuiltin(u"Array"), FindBuiltin(u"array"));
  EXPECT_EQ(FindBuiltin(u"print"), FindBuiltin(u"MessageBox"));
  EXPECT_EQ(FindBuiltin(u"STRLEN"), nullptr);
  EXPECT_EQ(BuiltinCount(), 103);
}

// A built-in's common case, which the executor runs without a call's
// context, gives what the built-in gives for every argument list it takes,
// and leaves the result alone for every other.
TEST(Dispatch, IntrinsicsAgreeWithTheirBuiltins) {
  golden::RecordingDialogs dialogs;
  EZunScriptEngine engine;
  engine.SetDialogs(&dialogs);
  engine.SetBuiltinLookup(FindBuiltin, FindIntrinsic);
  engine.Initialize();
  engine.SetScript(u"1;");
  EScriptValue list = EScriptValue::Array();
  list.AppendElement(EScriptValue::Double(1.5));
  list.AppendElement(EScriptValue::String(u"b"));
  const EScriptValue values[] = {EScriptValue(),
                                 EScriptValue::Int(0),
                                 EScriptValue::Int(-7),
                                 EScriptValue::Int(4),
                                 EScriptValue::Double(2.7),
                                 EScriptValue::Double(-0.0),
                                 EScriptValue::Double(1e20),
                                 EScriptValue::String(u""),
                                 EScriptValue::String(u"Ab é1"),
                                 EScriptValue::String(u"3"),
                                 EScriptValue::Array(),
                                 list};
  // Every value alone, every pair, and every triple that starts with a string.
  std::vector<std::vector<EScriptValue>> lists;
  for (const EScriptValue& a : values) {
    lists.push_back({a});
    for (const EScriptValue& b : values) {
      lists.push_back({a, b});
      if (a.type == SEVT_STRING)
        for (const EScriptValue& c : values) lists.push_back({a, b, c});
    }
  }
  int taken = 0;
  for (int i = 0; i < BuiltinCount(); ++i) {
    IntrinsicFn fast = FindIntrinsic(BuiltinName(i));
    if (!fast) continue;
    for (const std::vector<EScriptValue>& args : lists) {
      const EScriptValue* where[3];
      for (size_t k = 0; k < args.size(); ++k) where[k] = &args[k];
      std::string shown = ToUtf8(BuiltinName(i));
      for (const EScriptValue& arg : args) shown += " " + ToUtf8(arg.GetInfo());
      EScriptValue quick;
      if (!fast(where, static_cast<int>(args.size()), quick)) {
        EXPECT_EQ(quick.GetInfo(), EScriptValue().GetInfo()) << shown;
        continue;
      }
      ++taken;
      EScriptValue full = engine.CallFunction(BuiltinName(i), {args.data(), static_cast<int>(args.size())});
      EXPECT_FALSE(engine.IsError()) << shown;
      EXPECT_EQ(ToUtf8(quick.GetInfo()), ToUtf8(full.GetInfo())) << shown;
    }
  }
  EXPECT_GT(taken, 100);  // the single arguments of 22 built-ins, and strsub's many spans
}

TEST(Builtins, InternalInfo) {
  std::string info = Shows("var $a = 1; { var $b[]; $b += 1; $b += 2; print(engine_internal_info()); }");
  EXPECT_EQ(info.rfind("[ZUN Script engine internal info]\r\nZUN Script version:1.3\r\ncurrent directory:", 0), 0u);
  size_t vars = info.find("variables and functions:\r\nType:SEO_VAR,name:calling_app_exe_path");
  EXPECT_NE(vars, std::string::npos);
  EXPECT_NE(info.find("Type:SEO_VAR,name:_FILES,var info:type:array,value:,name in array:\r\n"
                      "Type:SEO_VAR,name:a,var info:type:double,value:1,name in array:\r\n"
                      "Type:SEO_VAR,name:b,var info:type:array,value:1,2,name in array:\r\n"
                      "\r\nconstants:\r\nnot available\r\n\r\nhandles:\r\n"),
            std::string::npos);
  EXPECT_EQ(info.substr(info.size() - 12), "\r\nhandles:\r\n");
}

}  // namespace
}  // namespace zun
