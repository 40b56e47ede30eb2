// What scripts compute: statements, expressions, scopes and operators.
#include <gtest/gtest.h>

#include "tests/support/script_run.h"

namespace zun {
namespace {

using golden::RecordingDialogs;
using golden::Shows;

TEST(Language, StoreReachesTheElementAfterTheArrayGrew) {
  EXPECT_EQ(Shows("var $a = Array(0); $a[0] = ($a += 5) + 1; print(str($a));"), "0,5,1,5");
  EXPECT_EQ(Shows("var $a = Array(0); var $i = 0; repeat { $a += $i; $i += 1; if ($i == 40) break; } "
                "$a[1] = ($a += 99); print(str(array_size($a)));"),
            "42");
  EXPECT_EQ(Shows("var $a = Array(1, 2); $a[1] = ($a = 5); print(str($a));"), "ERR:left value expected");
}

TEST(Language, BreakCutsExpressionsShort) {
  // After break the rest of "1 + 2 + 3" is read as further statements.
  EXPECT_EQ(Shows("var $v = 0; repeat { break; $v = 1 + 2 + 3; } print(str($v));"), "3");
}

TEST(Language, DeepNestingEndsInAnOrderlyError) {
  for (const std::string& open : {std::string("("), std::string("{"), std::string("-"), std::string("str("),
                                  std::string("if (1) ")}) {
    std::string script;
    for (int i = 0; i < 100000 / static_cast<int>(open.size()); ++i) script += open;
    RecordingDialogs d;
    auto run = golden::RunScript(script, d);
    EXPECT_TRUE(run.error) << open;
    EXPECT_NE(run.errors.find("nested too deeply"), std::string::npos) << open;
    EXPECT_LE(d.entries.size(), 4u) << open;  // one report and the closing traces
  }
  std::string skipped = "if (0) ";
  for (int i = 0; i < 50000; ++i) skipped += "{";
  RecordingDialogs d;
  EXPECT_NE(golden::RunScript(skipped, d).errors.find("nested too deeply"), std::string::npos);
}

}  // namespace
}  // namespace zun
