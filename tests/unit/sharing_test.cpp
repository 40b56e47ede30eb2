// What scripts see stays the same while tokens are read once, values are
// shared between copies and elements are found through an index.
#include <gtest/gtest.h>

#include "tests/support/script_run.h"

namespace zun {
namespace {

using golden::Check;
using golden::RecordingDialogs;
using golden::RunScript;

TEST(Sharing, CopiesStayIndependentOfTheOriginal) {
  Check({
      {"var $a = Array(1, \"x\"); var $b = $a; $b[0] = 5; $b += 7; print(str($a) + \"|\" + str($b));",
       "1,x|5,x,7"},
      {"var $s = \"ab\"; var $t = $s; $t += \"c\"; print($s + \"|\" + $t);", "ab|abc"},
      {"var $a = Array(1, \"x\"); var $n = Array($a); var $m = $n; $m[0] += 9; "
       "print(str($n) + \"|\" + str($m) + \"|\" + str($a));",
       "1,x|1,x,9|1,x"},
      {"var $h = Array(); $h[\"k\"] = 1; var $g = $h; $g[\"k\"] = 2; $g[\"new\"] = 3; print(array_info($h));",
       "size:1\r\nitems (index, name, value):\r\n0 \"k\" 1\r\n"},
      // An argument is a copy too.
      {"var $a = Array(1); var $b = Array($a, $a); $a += 2; print(str($b) + \"|\" + str($a));", "1,1|1,2"},
  });
}

TEST(Sharing, AppendingToItselfAndStoresAfterTheRightOperand) {
  Check({
      {"var $c = Array(1, 2); $c += $c; print(str(array_size($c)) + \":\" + str($c));", "3:1,2,1,2"},
      {"var $u = \"xy\"; $u += $u; print($u);", "xyxy"},
      // The right operand grows the array, then the store goes to element 0.
      {"var $r = Array(1, 2, 3); $r[0] = ($r += 7); print(str($r) + \"|\" + str(array_size($r)));",
       "1,2,3,7,2,3,7|4"},
      // The right operand replaces the variable: the append goes to the old value.
      {"var $q = Array(1); $q += ($q = Array(9)); print(str($q));", "1,9"},
      {"var $w = Array(1, 2, 3); $w[1] = ($w = Array(9));", "ERR:left value expected"},
      {"var $s = \"a\"; var $t = $s; $s += ($t += \"b\"); print($s + \"|\" + $t);", "aab|ab"},
  });
}

TEST(Sharing, RenamedElementsAreFoundByTheirNewName) {
  // Twenty keys: enough for the lookups to go through the index.
  Check({{"var $h = Array(); var $i = 0;"
          "repeat { $h[\"k\" + str($i)] = $i; $i += 1; if ($i >= 20) break; }"
          "print(str($h[\"k7\"]));"
          "var $o = Array(); $o[\"z\"] = 100; var $o2 = Array(); $o2[\"z\"] = 200; var $p = Array(); $p[\"y\"] = 5;"
          "$h[\"k3\"] = $o[\"z\"];"  // element 3 takes the name z
          "print(str($h[\"z\"]) + \"|\" + str(array_size($h)));"
          "print(var_type($h[\"k3\"]) + \"|\" + str(array_size($h)));"  // k3 is gone: a new element
          "$h += $o2[\"z\"];"                                           // a second z, after the first
          "print(str($h[\"z\"]));"
          "$h[3] = $p[\"y\"];"  // the first z is renamed: the second one is found now
          "print(str($h[\"z\"]) + \"|\" + str($h[\"y\"]) + \"|\" + str(array_size($h)));"
          "var $copy = $h; $copy[\"y\"] = 6; print(str($h[\"y\"]) + \"|\" + str($copy[\"y\"]));",
          "7|100|20|empty|21|100|200|5|22|5|6"}});
}

TEST(Sharing, LexicalErrorsAreReportedEachTimeTheTokenIsRead) {
  // The bad string is read in the third pass and again when the finished
  // loop skips its body: both reads report it, at the same position.
  RecordingDialogs dialogs;
  auto run = RunScript("var $i = 0;\nrepeat {\n  $i += 1;\n  if ($i > 2) $s = \"\\q\";\n}\n", dialogs);
  const std::string line = "(pos 53) : Unknown token:q, code snippet:\"epeat {   $i += 1;   if ($i > 2) $s = \"\\\"\r\n";
  EXPECT_EQ(run.errors.substr(0, 2 * line.size()), line + line);
}

TEST(Sharing, ValuesNestedAnyDepthNeedNoStack) {
  // 100,000 levels on the stack the runner's worker has: copying, printing,
  // describing and destroying them must not recurse per level.
  std::string shown;
  golden::RunOnStack(size_t{2} << 20, [&] {
    shown = golden::Shows(
        "var $a = Array(7); var $b; var $i = 0;"
        "repeat { $b = Array(); $b += $a; $a = $b; $i += 1; if ($i >= 100000) break; }"
        "var $c = $a; $c += 8; print(str($a) + \"|\" + str($c));"
        "var $at = strfind(engine_internal_info(), \"name:a,\", 0);"
        "print(strsub(engine_internal_info(), $at, $at + 39));"
        "$a = 0; $b = 0; $c = 0; print(\"freed\");");
  });
  EXPECT_EQ(shown, "7|7,8|name:a,var info:type:array,value:7,name |freed");
}

TEST(Sharing, BreakStillCutsAnExpressionShort) {
  Check({{"var $i = 0; var $x = 0; repeat { $i += 1; break; $x = 1 + 2 + 3; } print(str($x));", "3"}});
}

}  // namespace
}  // namespace zun
