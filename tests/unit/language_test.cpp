// What the case tables cannot hold: scripts too deep for them, and errors
// that repeat when a token is read again.
#include <gtest/gtest.h>

#include "tests/support/script_run.h"

namespace zun {
namespace {

using golden::RecordingDialogs;
using golden::RunScript;
using golden::Shows;

TEST(Language, DeepNestingEndsInAnOrderlyError) {
  for (const std::string& open :
       {std::string("("), std::string("{"), std::string("-"), std::string("str("), std::string("if (1) ")}) {
    std::string script;
    for (int i = 0; i < 100000 / static_cast<int>(open.size()); ++i) script += open;
    RecordingDialogs d;
    auto run = RunScript(script, d);
    EXPECT_TRUE(run.error) << open;
    EXPECT_NE(run.errors.find("nested too deeply"), std::string::npos) << open;
    EXPECT_LE(d.entries.size(), 4u) << open;  // one report and the closing traces
  }
  std::string skipped = "if (0) ";
  for (int i = 0; i < 50000; ++i) skipped += "{";
  RecordingDialogs d;
  EXPECT_NE(RunScript(skipped, d).errors.find("nested too deeply"), std::string::npos);
}

TEST(Language, LexicalErrorsAreReportedEachTimeTheTokenIsRead) {
  // The bad string is read in the third pass and again when the finished
  // loop skips its body: both reads report it, at the same position.
  RecordingDialogs dialogs;
  auto run = RunScript("var $i = 0;\nrepeat {\n  $i += 1;\n  if ($i > 2) $s = \"\\q\";\n}\n", dialogs);
  const std::string line =
      "(pos 53) : Unknown token:q, code snippet:\"epeat {   $i += 1;   if ($i > 2) $s = \"\\\"\r\n";
  EXPECT_EQ(run.errors.substr(0, 2 * line.size()), line + line);
}

TEST(Language, ValuesNestedAnyDepthNeedNoStack) {
  // 100,000 levels on the stack the runner's worker has: copying, printing,
  // describing and destroying them must not recurse per level.
  std::string shown;
  golden::RunOnStack(size_t{2} << 20, [&] {
    shown = Shows(
        "var $a = Array(7); var $b; var $i = 0;"
        "repeat { $b = Array(); $b += $a; $a = $b; $i += 1; if ($i >= 100000) break; }"
        "var $c = $a; $c += 8; print(str($a) + \"|\" + str($c));"
        "var $at = strfind(engine_internal_info(), \"name:a,\", 0);"
        "print(strsub(engine_internal_info(), $at, $at + 39));"
        "$a = 0; $b = 0; $c = 0; print(\"freed\");");
  });
  EXPECT_EQ(shown, "7|7,8|name:a,var info:type:array,value:7,name |freed");
}

}  // namespace
}  // namespace zun
