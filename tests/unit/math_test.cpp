// The math built-ins on arguments where run-times go wrong: huge arguments of
// sin, cos and tan (the among them, 1e22, 2^1023 and the double
// nearest to a multiple of pi/2 of all), the doubles nearest to multiples of
// pi/2, powers whose exact value lies halfway between two doubles, subnormal
// results, exp near its limits and where glibc's is not the nearest double,
// and the hyperbolic functions' and log10's worst cases of glibc.
// Each expected value is the correctly rounded result, computed with
// 2,000-bit arithmetic. The same table runs in both builds (the Windows one
// under Wine).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "builtins/families.h"
#include "tests/support/script_run.h"

namespace zun {
namespace {

using namespace builtins;

struct Case {
  const char* fn;
  double x, y, expected;
};

const Case kCases[] = {
    {"sin", 0x1.0000000000000p+62, 0, -0x1.67e57355f0147p-1},
    {"cos", 0x1.6345785d8a000p+56, 0, -0x1.c567c5278afcbp-1},
    {"sin", 0x1.0000000000000p+63, 0, 0x1.fff6dfd42dc54p-1},
    {"sin", 0x1.0f0cf064dd592p+73, 0, -0x1.b453ab76bf397p-1},
    {"cos", 0x1.0f0cf064dd592p+73, 0, 0x1.0be2cef01c8f4p-1},
    {"tan", 0x1.0f0cf064dd592p+73, 0, -0x1.a0f79c1b6b257p+0},
    {"sin", -0x1.0f0cf064dd592p+73, 0, 0x1.b453ab76bf397p-1},
    {"sin", 0x1.0000000000000p+1023, 0, 0x1.205248cbdb760p-1},
    {"cos", 0x1.0000000000000p+1023, 0, -0x1.a719f26c232bfp-1},
    {"tan", 0x1.0000000000000p+1023, 0, -0x1.5ce6b4c0d02a3p-1},
    {"sin", 0x1.fffffffffffffp+1023, 0, 0x1.452fc98b34e97p-8},
    {"sin", 0x1.6ac5b262ca1ffp+849, 0, 0x1.0000000000000p+0},
    {"cos", 0x1.6ac5b262ca1ffp+849, 0, -0x1.14ae72e6ba22fp-61},
    {"tan", 0x1.6ac5b262ca1ffp+849, 0, -0x1.d9ba9a7975636p+60},
    {"sin", 0x1.921fb54442d18p+0, 0, 0x1.0000000000000p+0},
    {"cos", 0x1.921fb54442d18p+0, 0, 0x1.1a62633145c07p-54},
    {"tan", 0x1.921fb54442d18p+0, 0, 0x1.d02967c31cdb5p+53},
    {"tan", -0x1.921fb54442d18p+0, 0, -0x1.d02967c31cdb5p+53},
    {"sin", 0x1.921fb54442d18p+1, 0, 0x1.1a62633145c07p-53},
    {"cos", 0x1.921fb54442d18p+1, 0, -0x1.0000000000000p+0},
    {"tan", 0x1.921fb54442d18p+1, 0, -0x1.1a62633145c07p-53},
    {"sin", 0x1.921fb54442d18p+2, 0, -0x1.1a62633145c07p-52},
    {"cos", 0x1.2d97c7f3321d2p+2, 0, -0x1.a79394c9e8a0ap-53},
    {"tan", 0x1.2d97c7f3321d2p+2, 0, 0x1.3570efd768923p+52},
    {"sin", 0x1.e848000000000p+19, 0, -0x1.6664b2568d867p-2},
    {"cos", 0x1.fffffffffffffp+19, 0, 0x1.e33ada9352c61p-1},
    {"sin", 0x1.0000000000000p+20, 0, 0x1.526ccb2fc8656p-2},
    {"cos", 0x1.921fb54442d19p-1, 0, 0x1.6a09e667f3bccp-1},
    {"sinh", 0x1.ca803614ecbf7p-2, 0, 0x1.d9f9ba92d88e4p-2},
    {"tanh", -0x1.ceef687d28d90p-3, 0, -0x1.c7355e867f1ebp-3},
    {"cosh", 0x1.06c4dd4d6e6b1p+3, 0, 0x1.cc65b63df9860p+10},
    {"log10", 0x1.5cbb32bfa3f77p-12, 0, -0x1.bd32ad725dba1p+1},
    {"sinh", 0x1.6333333333333p+9, 0, 0x1.da98a7371610bp+1023},
    {"cosh", -0x1.6333333333333p+9, 0, 0x1.da98a7371610bp+1023},
    {"sinh", 0x1.9c511dc3a41dfp-29, 0, 0x1.9c511dc3a41dfp-29},
    {"tanh", 0x1.3000000000000p+4, 0, 0x1.fffffffffffffp-1},
    {"log10", 0x1.f400000000000p+9, 0, 0x1.8000000000000p+1},
    {"log10", 0x0.0000000000001p-1022, 0, -0x1.434e6420f4374p+8},
    {"exp", 0x1.0000000000000p+0, 0, 0x1.5bf0a8b145769p+1},
    {"exp", 0x1.08b0464ac62aap+9, 0, 0x1.a88c26e4159b8p+763},
    {"exp", 0x1.2714279524b20p+9, 0, 0x1.55dab65094f12p+851},
    {"exp", -0x1.74910d52d3051p+9, 0, 0x0.0000000000001p-1022},
    {"exp", -0x1.74385446d71c3p+9, 0, 0x0.0000000000001p-1022},
    {"exp", 0x1.62e42fefa39efp+9, 0, 0x1.fffffffffff2ap+1023},
    {"exp", 0x1.9000000000000p+5, 0, 0x1.19103e4080b45p+72},
    {"exp", -0x1.79ca10c924223p-67, 0, 0x1.0000000000000p+0},
    {"pow", 0x1.4e00000000000p+8, 0x1.d800000000000p+5, 0x1.8e884c3ef2829p+494},
    {"pow", 0x1.7d78404000000p+26, 0x1.0000000000000p+1, 0x1.1c3793dd66100p+53},
    {"pow", 0x1.ffff800000000p+17, 0x1.8000000000000p+1, 0x1.fffe800060000p+53},
    {"pow", 0x1.0000000000000p+1, -0x1.0c80000000000p+10, 0x0.0000000000001p-1022},
    {"pow", 0x1.4000000000000p+3, 0x1.6000000000000p+4, 0x1.0f0cf064dd592p+73},
    {"pow", 0x1.4000000000000p+3, -0x1.4000000000000p+2, 0x1.4f8b588e368f1p-17},
    {"pow", -0x1.0000000000000p+1, 0x1.8000000000000p+1, -0x1.0000000000000p+3},
    {"pow", 0x1.fffffffffffffp-1, -0x1.0000000000000p+0, 0x1.0000000000001p+0},
    {"pow", 0x1.97aa43c5d1a96p+684, -0x1.7e3e79e4ed312p+0, 0x0.ce6b270913075p-1022},
    {"pow", 0x1.971e464b781d9p-881, -0x1.b7129b57f4be2p-5, 0x1.22c5291f65673p+47},
    {"pow", 0x1.000001ad7f29bp+0, 0x1.dcd6500000000p+29, 0x1.349445c228792p+144},
    {"pow", -0x1.8000000000000p+0, 0x1.f000000000000p+4, -0x1.18e2a5afb5158p+18},
    {"pow", 0x1.c000000000000p+2, 0x1.0000000000000p-1, 0x1.52a7fa9d2f8eap+1},
};

double Apply(const Case& c) {
  struct Named {
    const char* name;
    MathFn fn;
  };
  const Named kOne[] = {{"sin", MathSin},   {"cos", MathCos},   {"tan", MathTan},   {"exp", MathExp},
                        {"sinh", MathSinh}, {"cosh", MathCosh}, {"tanh", MathTanh}, {"log10", MathLog10}};
  for (const Named& n : kOne)
    if (std::string(c.fn) == n.name) return n.fn(c.x);
  return MathPow(c.x, c.y);
}

std::string Hex(double d) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%a", d);
  return buf;
}

TEST(Math, HardCasesGiveTheNearestDouble) {
  for (const Case& c : kCases)
    EXPECT_EQ(Hex(Apply(c)), Hex(c.expected)) << c.fn << "(" << Hex(c.x) << ", " << Hex(c.y) << ")";
}

// What a script sees: the numbers, and a result that str prints in
// full, so that every bit shows.
TEST(Math, ScriptsSeeTheSameNumbersOnEveryBuild) {
  EXPECT_EQ(golden::Shows("print(str(sin(4611686018427387904)) + \" \" + str(cos(100000000000000000)) + \" \" + "
                          "str(sin(9223372036854775807)));"),
            "-0.703 -0.886 1.000");
  EXPECT_EQ(golden::Shows("print(str(pow(334, 11)) + \" \" + str(tan(1.5707963267948966)));"),
            "5770469301172548921867632640.000 16331239353195370");
}

TEST(Math, EdgesFollowTheUsualRules) {
  const double inf = INFINITY;
  EXPECT_TRUE(std::isnan(MathSin(inf)) && std::isnan(MathCos(-inf)) && std::isnan(MathTan(NAN)));
  EXPECT_EQ(Hex(MathSin(-0.0)), Hex(-0.0));
  EXPECT_EQ(MathPow(0.0, -1), inf);
  EXPECT_EQ(MathPow(-8, 1.0 / 3) == MathPow(-8, 1.0 / 3), false);  // NaN
  EXPECT_EQ(MathPow(-1, inf), 1);
  EXPECT_EQ(MathPow(2, 1024), inf);
  EXPECT_EQ(MathPow(2, -1075), 0);
  EXPECT_EQ(MathSinh(-inf), -inf);
  EXPECT_EQ(MathCosh(-1000), inf);
  EXPECT_EQ(MathTanh(-inf), -1);
  EXPECT_EQ(MathLog10(0), -inf);
  EXPECT_EQ(MathExp(-inf), 0);
  EXPECT_EQ(MathExp(710), inf);
  EXPECT_TRUE(std::isnan(MathLog10(-1)));
}

}  // namespace
}  // namespace zun
