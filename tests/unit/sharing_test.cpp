// What scripts see stays the same while tokens are read once, values are
// shared between copies and elements are found through an index.
#include <gtest/gtest.h>

#include "tests/support/script_run.h"

namespace zun {
namespace {

using golden::Check;
using golden::RecordingDialogs;
using golden::RunScript;

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

}  // namespace
}  // namespace zun
