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

TEST(Builtins, ArgumentErrors) {
  Check({
      {"strlen();", "ERR:'strlen' function error:missing argument :1"},
      {"var $e; strlen($e);", "ERR:'strlen' function error:1 argument is an empty var"},
      {"int(\"abc\");", "ERR:'int' function error:1 argument is not numerical"},
      {"int(\"-5\");", "ERR:'int' function error:1 argument is not numerical"},
      {"var_isempty(1, 2);", "ERR:'var_isempty' function error:wrong number of arguments, should be:1 arguments"},
      {"strcmp(\"a\");", "ERR:'strcmp' function error:wrong number of arguments"},
      {"var $e; pow(\"x\", $e);", "ERR:'pow' function error:1 argument is not numerical"},
      {"pow(2);", "ERR:'pow' function error:missing argument :2"},
      {"strsub(\"hello\", \"x\");", "ERR:'strsub' function error:2 argument is not numerical"},
      {"GetLastError(1);", "ERR:'GetLastError' function error:wrong number of arguments, should be:0 arguments"},
  });
}

TEST(Builtins, Conversions) {
  Check({
      {"print(str(2.0) + \" \" + str(2.5) + \" \" + str(Array(1, \"a\")));", "2 2.500 1,a"},
      {"print(str(int(\"12.7\")) + \" \" + str(int(-3.9)) + \" \" + var_type(int(1)));", "12 -3 int"},
      {"print(var_type(double(\"7\")) + str(double(7)));", "double7"},
      {"print(chr(65) + str(asc(\"A\")) + \" \" + str(asc(chr(0x263A))) + \" \" + str(strlen(chr(65601))));",
       "A65 58 1"},
      {"asc(\"\");", "ERR:'asc' function error:empty string"},
      {"print(handle_type(0) + \"/\" + handle_type(5));", "handle not found/handle not found"},
  });
}

TEST(Builtins, RandomSequenceRepeatsAcrossRuns) {
  std::string first = Shows("print(str(rand()) + \",\" + str(rand()) + \",\" + str(rand()));");
  // srand reseeds; rand stays within 15 bits.
  std::string seeded = Shows("srand(); var $r = rand(); print(str($r >= 0 && $r <= 32767));");
  EXPECT_EQ(seeded, "1");
  EXPECT_EQ(Shows("srand(1);"), "ERR:'srand' function error:wrong number of arguments, should be:0 arguments");
  (void)first;
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

TEST(Builtins, Arrays) {
  Check({
      {"print(array_info(Array(5)));", "size:1\r\nitems (index, name, value):\r\n0 \"\" 5\r\n"},
      {"var $h[]; $h[\"k\"] = \"v\"; print(array_info($h));", "size:1\r\nitems (index, name, value):\r\n0 \"k\" v\r\n"},
      {"var $h[]; $h[\"k\"] = 1; var $c = Array($h[\"k\"]); print(array_info($c));",
       "size:1\r\nitems (index, name, value):\r\n0 \"k\" 1\r\n"},
      {"print(str(array_size(Array())) + str(array_size(array(1, Array(2, 3)))));", "02"},
      {"array_size(5);", "ERR:'array_size' function error:argument is not an array"},
      {"array_info(\"x\");", "ERR:'array_info' function error:argument is not an array"},
  });
}

TEST(Builtins, Math) {
  Check({
      // A literal -1.5 is the integer -1 (unary minus); 0 - 1.5 is the double.
      {"print(str(floor(-1.5)));", "-1"},
      {"print(str(floor(0 - 1.5)) + \" \" + str(pow(2, 10)) + \" \" + str(abs(-3)) + \" \" + str(sqrt(16)));",
       "-2 1024 3 4"},
      {"sqrt(\"abc\");", "ERR:'sqrt' function error:1 argument is not numerical"},
      {"print(str(log(0)) + \" \" + str(sqrt(-1) == sqrt(-1)));", "-inf 0"},
      {"print(str(cos(0)) + str(exp(0)) + str(log10(100)) + str(tanh(0)));", "1120"},
  });
}

TEST(Builtins, Strings) {
  Check({
      {"print(strsub(\"hello\", 1, 3) + \"|\" + strsub(\"hello\", 1) + \"|\" + strsub(\"hello\", 3, 1) + \"|\");",
       "ell|e||"},
      {"strsub(\"hello\", 4, 9);", "ERR:'strsub' function error:Index out of bounds"},
      {"strsub(\"\", 0);", "ERR:'strsub' function error:Index out of bounds"},
      {"print(strsub(\"hello\", -2, 1));", "hell"},
      {"print(strdel(\"hello\", 1, 3) + \" \" + strdel(\"hello\", 0) + \" \" + strdel(\"hello\", 3, 1));",
       "ho ello hello"},
      {"strdel(\"hello\", 5);", "ERR:'strdel' function error:Index out of bounds"},
      {"print(strins(\"hello\", 99, \"!\") + \" \" + strins(\"hello\", -1, \">\") + \" \" + strins(\"ab\", 1, \"-\"));",
       "hello! >hello a-b"},
      {"print(strreplace(\"hello\", 0, 0, \"J\") + \" \" + strreplace(\"hello\", -3, 1, \"X\"));", "Jello X"},
      {"strreplace(\"hello\", 0, 5, \"J\");", "ERR:'strreplace' function error:index out of bounds"},
      {"strreplace(\"hello\", 0, 1);", "ERR:'strreplace' function error:wrong number of arguments, should be:4 arguments"},
      {"print(str(strfind(\"abcabc\", \"c\", 3)) + str(strfind(\"abcabc\", \"c\", 0)) + "
       "str(strfind(\"abcabc\", \"C\", 0, 1)) + str(strfind(\"abcabc\", \"C\", 0)) + str(strfind(\"abc\", \"\", 2)));",
       "522-12"},
      {"print(str(strfind(\"abc\", \"a\", -1)) + str(strfind(\"abc\", \"a\", 4)) + "
       "str(strfind(\"abc\", \"a\", 4294967296)));",
       "-1-1-1"},
      {"print(str(strcmp(\"a\", \"a\")) + str(strcmp(\"A\", \"a\", 1)) + str(strcmp(\"a\", \"b\") < 0));", "001"},
      {"print(strupper(\"abc\u00e9\") + strlower(\"ABC\u00c9\") + str(strlen(\"\u00e9\u20ac\")));", "ABC\u00c9abc\u00e92"},
      {"print(str(strsub(\"hello\", 4294967297)));", "ERR:'strsub' function error:Index out of bounds"},
  });
}

TEST(Builtins, SleepBounds) {
  Check({
      {"Sleep(1); print(\"slept\");", "slept"},
      {"Sleep(-1);", "ERR:'Sleep' function error:1 argument is out of range (0 to 4294967294 milliseconds)"},
      {"Sleep(4294967295);", "ERR:'Sleep' function error:1 argument is out of range (0 to 4294967294 milliseconds)"},
  });
}

class TimeBuiltins : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    saved_ = tz ? tz : "";
    had_ = tz != nullptr;
    golden::SetEnv("TZ", "CET-1");
  }
  void TearDown() override {
    if (had_) golden::SetEnv("TZ", saved_);
    else golden::UnsetEnv("TZ");
  }
  std::string saved_;
  bool had_ = false;
};

TEST_F(TimeBuiltins, FieldsAndFormats) {
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
