// The engine's interface as a host uses it: runs, reports, the environment, last errors.
#include <gtest/gtest.h>

#include "builtins/table.h"
#include "engine/engine.h"
#include "tests/support/script_run.h"

namespace zun {
namespace {

using golden::RecordingDialogs;

// An engine that shows into d and knows the built-ins, not yet initialized.
class Engine : public ::testing::Test {
 protected:
  Engine() {
    e.SetDialogs(&d);
    e.SetBuiltinLookup(FindBuiltin, FindIntrinsic);
  }
  RecordingDialogs d;
  EZunScriptEngine e;
};

TEST_F(Engine, RunBeforeInitialize) {
  e.SetScript(u"print(\"x\");");
  e.Run();
  EXPECT_EQ(d.BoxTexts(), std::vector<std::string>{"EZunScriptEngine::Run : Initialize() not called"});
}

TEST_F(Engine, SnippetIsTheFortyCharactersBeforeThePosition) {
  std::string text;
  for (int i = 0; i < 100; ++i) text.push_back(static_cast<char>('a' + i % 26));
  text[5] = '\n';
  text[15] = '\r';
  e.SetScript(FromUtf8(text));
  e.bShowErrorMessages = false;
  e.cursor.pos = 10;
  e.ReportError("x");
  EXPECT_EQ(ToUtf8(e.strLastErrorSnippet), text.substr(0, 40));
  e.cursor.pos = 50;
  e.ReportError("y");
  std::string second = text.substr(10, 40);
  EXPECT_EQ(ToUtf8(e.strLastErrorSnippet), second);
  second[5] = ' ';  // the CR at 15 is shown as a blank
  std::string first = text.substr(0, 40);
  first[5] = ' ';
  first[15] = ' ';
  EXPECT_EQ(ToUtf8(e.strErrors),
            "(pos 10) : x, code snippet:\"" + first + "\"\r\n(pos 50) : y, code snippet:\"" + second + "\"\r\n");
  EXPECT_TRUE(d.entries.empty());  // bShowErrorMessages off
}

TEST_F(Engine, EachRunStartsFromTheEnvironment) {
  e.strScriptPath = u"C:\\s.zunscript";
  e.files.Add(u"one");
  golden::RunScript(e, "var $g = 1; $_SCRIPT_PATH = \"changed\"; WM_CLOSE = 1;", d);
  EXPECT_NE(ToUtf8(e.strErrors).find("left value expected"), std::string::npos);
  e.SetScript(u"print($_SCRIPT_PATH + \" \" + $script_path + \" \" + str($_FILES)); print(str(var_exists(\"g\")));");
  e.Run();
  EXPECT_FALSE(e.IsError());
  std::vector<std::string> boxes = d.BoxTexts();
  ASSERT_GE(boxes.size(), 2u);
  EXPECT_EQ(boxes[boxes.size() - 2], "C:\\s.zunscript C:\\s.zunscript one");
  EXPECT_EQ(boxes.back(), "0");
}

TEST_F(Engine, SecondInitializeAddsNoConstants) {
  e.Initialize();
  e.Initialize();
  EXPECT_EQ(e.constants.GetCount(), 548);
  EXPECT_EQ(e.environment.objects.GetSize(), 9);
}

TEST_F(Engine, SetOrAddVariableOutsideARunWarns) {
  EXPECT_FALSE(e.SetOrAddVariable(u"x", EScriptValue::Int(1), false));
  EXPECT_EQ(d.BoxTexts(), std::vector<std::string>{"warning : SetOrAddVariable called while not running"});
}

TEST_F(Engine, LastErrorSurvivesRunsOthersReset) {
  e.Initialize();
  e.nLastError = 7;
  e.strLastError = u"old";
  e.lastAdditionalResult = EScriptValue::Int(3);
  e.SetScript(u"print(str(GetLastError()) + \"/\" + var_type(GetLastAdditionalResult()));");
  e.Run();
  EXPECT_EQ(d.BoxTexts(), std::vector<std::string>{"7/empty"});
  EXPECT_EQ(e.strLastError, u"");
}

}  // namespace
}  // namespace zun
