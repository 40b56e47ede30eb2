// The common, conversion, string, array, internal, math and time built-ins.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <set>

#include "builtins/table.h"
#include "tests/support/script_run.h"

namespace zun {
namespace {

using golden::Check;
using golden::Shows;

TEST(Dispatch, EveryNameIsUniqueAndExact) {
  std::set<std::u16string> names;
  for (int i = 0; i < BuiltinCount(); ++i) EXPECT_TRUE(names.insert(BuiltinName(i)).second) << ToUtf8(BuiltinName(i));
  EXPECT_EQ(FindBuiltin(u"Array"), FindBuiltin(u"array"));
  EXPECT_EQ(FindBuiltin(u"print"), FindBuiltin(u"MessageBox"));
  EXPECT_EQ(FindBuiltin(u"STRLEN"), nullptr);
  EXPECT_EQ(BuiltinCount(), 103);
}

TEST(Builtins, Internal) {
  Check({
      {"print(var_type(var_getempty()) + str(var_isempty(var_getempty())) + str(var_isempty(0)));", "empty10"},
      {"var $x = 1; print(str(var_exists(\"$x\")) + str(var_exists(\"x\")) + str(var_exists(\"\")) + "
       "str(var_exists(\"y\")));",
       "1100"},
      {"var $t[]; print(var_type(1) + var_type(int(1)) + var_type(\"\") + var_type($t));", "doubleintstringarray"},
  });
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

TEST(TimeBuiltins, FieldsAndFormats) {
  golden::ScopedEnv tz({"TZ=CET-1"});
  Check({
      {"print(TimeFormat(0));", "1970-01-01 01:00:00"},
      {"print(TimeFormat(1262304000, \"%Y\"));", "2010"},
      // 2010-01-03 was a Sunday, 2010-01-09 a Saturday.
      {"print(str(TimeGetDayOfWeek(1262476800)) + str(TimeGetDayOfWeek(1262995200)));", "17"},
      {"print(str(TimeGetHour(-1)) + str(TimeGetYear(-1)) + \"[\" + TimeFormat(-1) + \"]\");", "-10[]"},
      {"print(str(TimeGetMinute(-5)) + str(TimeGetSecond(-5)) + str(TimeGetMonth(-5)) + str(TimeGetDay(-5)));",
       "-1-100"},
      {"print(str(TimeGetYear(1262304000)) + \"-\" + str(TimeGetMonth(1262304000)) + \"-\" + "
       "str(TimeGetDay(1262304000)) + \" \" + str(TimeGetHour(1262304000)) + \":\" + str(TimeGetMinute(1262304061)) + "
       "\":\" + str(TimeGetSecond(1262304061)));",
       "2010-1-1 1:1:1"},
      {"print(TimeFormat(1262304000, \"%A %B %a %b %j %p %I %y %% %#d\"));",
       "Friday January Fri Jan 001 AM 01 10 % 1"},
      {"print(\"[\" + TimeFormat(0, \"%Q\") + \"]\");", "[]"},
      {"print(str(TimeGetYear(32535215999)) + \" \" + str(TimeGetYear(32535216000)));", "3001 0"},
      {"TimeFormat(\"x\");", "ERR:'TimeFormat' function error:1 argument is not numerical"},
      {"var $e; TimeFormat(0, $e);", "ERR:'TimeFormat' function error:2 argument is an empty var"},
      {"TimeGetCurrent(1);", "ERR:'TimeGetCurrent' function error:wrong number of arguments, should be:0 arguments"},
  });
  std::string longFormat(64, 'x');
  EXPECT_EQ(Shows("print(\"[\" + TimeFormat(0, \"" + longFormat + "%Y" + longFormat + "\") + \"]\");"), "[]");
  EXPECT_EQ(Shows("print(str(strlen(TimeFormat(0, \"" + std::string(123, 'x') + "%Y\"))));"), "127");
  std::string now = Shows("print(str(TimeGetCurrent()));");
  long long t = std::atoll(now.c_str());
  EXPECT_LE(std::llabs(t - static_cast<long long>(std::time(nullptr))), 5);
}

}  // namespace
}  // namespace zun
