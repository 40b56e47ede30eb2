// What scripts compute: statements, expressions, scopes and operators.
#include <gtest/gtest.h>

#include "tests/support/script_run.h"

namespace zun {
namespace {

using golden::RecordingDialogs;
using golden::Shows;

using golden::Check;

TEST(Language, IfElseAndSkipping) {
  Check({
      {"var $a; if (1) $a = 1; else $a = 2; print(str($a));", "1"},
      {"var $a; if (0) $a = 1; else $a = 2; print(str($a));", "2"},
      {"var $a = 7; if (0) $a = 1; print(str($a));", "7"},
      {"if (\"0\") print(\"s\"); if (0.5) print(\"d\"); var $e[]; if ($e) print(\"no\");", "s|d"},
      {"var $b = 0; if (0) ; $b = 1; print(str($b));", "0"},
      {"var $s = \"\"; if (0) $s = \"x;y\"; print(\"after\");", "after"},
      {"var $a = 0; var $b = 0; if (0) if (1) { $a = 1; $b = 2; } print(str($a) + str($b));", "02"},
      {"var $a=0; var $b=1; var $c=0; if (1) $a = 1; else if ($b) { $a = 2; $c = 3; } print(str($a)+str($c));",
       "13"},
      {"{ var $c = 0; if (0) { $c = 1; print(\"no\"); } $c = 3; print(str($c)); }", "3"},
      {"if (0) $s = \"unterminated; print(\"x\");", "ERR:\" expected"},
      {"if 1 print(\"x\");", "ERR:#0 ( expected"},
      {"var $a; if (1; $a = 1;", "ERR:) expected"},
      {"var $c = 1; var $x; if ($c) break; else $x = 1;", "ERR:#4 ( expected"},
      {"var $c = 1; var $x = 0; repeat { if ($c) { break; } else $x = 1; } print(str($x));", "0"},
      {"If (1) print(\"x\");", "ERR:'If' function not found"},
  });
}

TEST(Language, RepeatAndBreak) {
  Check({
      {"var $i = 0; repeat { $i += 1; if ($i >= 3) break; } print(str($i));", "3"},
      {"var $i = 0; repeat { if ($i >= 3) break; $i += 1; } print(str($i));", "4"},
      {"var $i = 0; repeat { if ($i > 2) { break; } $i += 1; } print(str($i));", "4"},
      {"var $n = 0; var $i = 0; repeat { var $j = 0; repeat { $j += 1; $n += 1; if ($j == 2) break; } "
       "$i += 1; if ($i == 3) break; } print(str($n));",
       "6"},
      {"repeat $a = 1;", "ERR:#1 { expected"},
      {"var $v = repeat { break; 5 }; print(str($v));", "5"},
  });
}

TEST(Language, BlocksAndScopes) {
  Check({
      {"var $x = 1; { var $x = 2; print(str($x)); } print(str($x));", "2|1"},
      {"var $x = 1; if (1) { $x = 5; var $y = 1; } print(str($x)); print(str(var_exists(\"y\")));", "5|0"},
      {"var $a; var $a;", "ERR:Variable already declared: a"},
      {"var $Count = 1; var $count = 2; print(str($Count) + str($count));", "12"},
      {"var $v = { $a = 5 }; print(var_type($v));", "ERR:Unknown variable:a"},
      {"var $a; var $v = { $a = 5 }; print(str($v)); var $w = { $a = 5; }; print(var_type($w));", "5|empty"},
      {"} print(\"stray\");", "stray"},
      {"var $a = 1; { $a = 2 } print(str($a));", "2"},
  });
}

TEST(Language, ExpressionsAndPrecedence) {
  Check({
      {"print(str(1 + 2 * 3)); print(str((1 + 2) * 3)); print(str(10 - 2 - 3)); print(str(8 / 2 / 2));",
       "7|9|5|2"},
      {"var $a; var $b; $a = $b = 4; print(str($a) + str($b));", "44"},
      {"var $a = 1; var $b = 2; $a += $b = 4; print(str($a) + \" \" + str($b));", "4 2"},
      {"var $a = 2; var $b = 10; var $x; $x = -$a + $b; print(str($x));", "-2"},
      {"print(str(2 * -1.5));", "-2"},
      {"var $a = 0; print(str(!$a + 1));", "0"},
      // The unary call stops before "==": the comparison is not part of the store.
      {"var $a = 5; var $r; $r = !$a == 0; print(str($r));", "0"},
      {"var $a = 1; $a + 1 = 5; print(str($a));", "5"},
      {"var $x; var $y; $x = ($y = 3) + 1; print(str($x) + str($y));", "43"},
      {"print(str(-2.5)); print(var_type(-2.5)); var $s = \"7\"; print(str(-$s)); print(+\"abc\");",
       "-2|int|-7|0abc"},
      {"5 6;", "ERR:something's wrong, some operator expected"},
      {"WM_CLOSE = 1;", "ERR:left value expected"},
      {"= 1;", "ERR:= not expected here, no lvalue"},
      {"(1 + 2;", "ERR:) Expected"},
      {"var $a = 5; print(var_type($a)); var $b = 1 == 1; print(var_type($b));", "double|int"},
      {"if (-1 + 2 > 0) print(\"x\");", "ERR:) expected"},
      {"print(str(0x10 + 1)); print(var_type(0x10));", "17|double"},
  });
}

TEST(Language, VariablesAndIndexes) {
  Check({
      {"$x = 1;", "ERR:Unknown variable:x"},
      {"var $a[10]; print(var_type($a) + str(array_size($a)));", "array0"},
      {"var $a[] = 1;", "ERR:left value expected"},
      {"var $a = Array(1, 2, 3); print(str($a[2.7]));", "3"},
      {"var $a = Array(1, 2, 3); print(str($a[-1]));", "ERR:No such variable declared, or index out of bounds:a"},
      {"var $a = Array(1, 2, 3); print(str($a[3]));", "ERR:No such variable declared, or index out of bounds:a"},
      {"var $a = Array(1); print(str($a[4294967296]));", "ERR:No such variable declared, or index out of bounds:a"},
      {"var $h[]; var $v = $h[\"k\"]; print(var_type($v) + str(array_size($h)));", "empty1"},
      {"var $h[]; $h[\"Key\"] = 1; $h[\"key\"] = 2; print(str(array_size($h)) + str($h[\"Key\"]));", "21"},
      {"var $n = 5; print(str($n[0]));", "ERR:n: is not an array"},
      {"var $a = Array(1); var $e; print(str($a[$e]));", "ERR:Wrong variable type used as an index for array"},
      {"var $a = Array(1); print(str($a[0));", "ERR:] expected"},
      {"var $m = Array(Array(1, 2)); var $x; $x = $m[0][1];", "ERR:something's wrong, some operator expected"},
      {"var $a = Array(1, 2); $a[1] = ($a = Array(7, 8, 9)); print(str($a));", "7,7,8,9,9"},
  });
}

TEST(Language, StoreReachesTheElementAfterTheArrayGrew) {
  EXPECT_EQ(Shows("var $a = Array(0); $a[0] = ($a += 5) + 1; print(str($a));"), "0,5,1,5");
  EXPECT_EQ(Shows("var $a = Array(0); var $i = 0; repeat { $a += $i; $i += 1; if ($i == 40) break; } "
                "$a[1] = ($a += 99); print(str(array_size($a)));"),
            "42");
  EXPECT_EQ(Shows("var $a = Array(1, 2); $a[1] = ($a = 5); print(str($a));"), "ERR:left value expected");
}

TEST(Language, Calls) {
  Check({
      {"print(strlen(\"ab\") + 1);", "3"},
      {"print( str(1,2));", "ERR:'str' function error:wrong number of arguments, should be:1 arguments"},
      {"print(str( 1));", "1"},
      {"print(str(1 ));", "ERR:) expected"},
      {"print(strcmp(\"a\" ,\"a\"));", "ERR:) expected"},
      {"print( str(var_type( )));", "ERR:'var_type' function error:wrong number of arguments, should be:1 arguments"},
      {"nosuchfunction(1);", "ERR:'nosuchfunction' function not found"},
      {"Strlen(\"a\");", "ERR:'Strlen' function not found"},
      {"fabs(1);", "ERR:'fabs' function not found"},
      {"print(str(strlen(\"a\"), 2);", "ERR:'str' function error:wrong number of arguments, should be:1 arguments"},
      {"var $o = \"\"; var $x = str($o = $o + \"a\") + str($o = $o + \"b\"); print($x);", "aab"},
  });
}

TEST(Language, Operators) {
  Check({
      {"print(str(7 % 3) + \" \" + str(-7 % 3) + \" \" + str(7.9 % 2));", "1 -1 1"},
      {"print(str(7 % 0));", "ERR:%:right operand is zero, operation impossible."},
      {"print(str(\"abc\" % 2));", "ERR:%:Left or right operand is not numerical"},
      {"print(str(6 & 3) + str(6 | 3));", "27"},
      {"print(str(\"x\" & 1));", "ERR:Operator &: Left or right operand is not numerical"},
      {"var $x = 1; $x |= \"y\";", "ERR:Operator |: Left or right operand is not numerical"},
      {"print(str(1 / 0));", "inf"},
      {"print(str(\"a\" - 1));", "ERR:kse oper failed"},
      {"print(str(1 && \"abc\") + str(0.5 || 0) + str(!\"\"));", "001"},
      {"print(str(\"abc\" == \"ABC\") + str(\"a\" < \"b\") + str(\"10\" == 10));", "111"},
      {"var $a; var $b; print(str($a == $b));", "ERR:comparing variables of different (uncorvertable) types"},
      {"var $a[]; print(str($a == 1));", "ERR:Comparison operators not allowed for arrays"},
      {"print(str(int(7) - 2.9) + \" \" + str(7 - int(2)));", "5 5"},
      {"var $i = int(4611686018427387904); $i *= 2; print(str($i)); $i -= 1; print(str($i));",
       "-9223372036854775808|9223372036854775807"},
      {"var $i = int(1); $i /= 0;", "ERR:/:right operand is zero, integer division impossible."},
      {"var $i = int(4611686018427387904) * 2; $i /= -1; print(str($i)); print(str($i % -1));",
       "-9223372036854775808|0"},
      {"var $i = int(5); $i *= 2.9; print(str($i));", "10"},
      {"print(str(2 >= 2) + str(2 <= 1) + str(1 != 1) + str(3 > 2));", "1001"},
      {"print(str(WHEEL_PAGESCROLL == 4294967295) + str(WHEEL_PAGESCROLL == -1));", "10"},
  });
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
