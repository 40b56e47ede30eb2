// The math built-ins over one fixed list of about 2.6 million arguments.
//
//   zun_math_table dump              every result in hex, one per line
//   zun_math_table check [DUMP...]   this build's results against a reference,
//                                    and against the dumps of other builds
//
// tools/zun test dumps the Windows build's results under Wine and checks them
// here with the native build. The reference is the long double (64-bit
// mantissa) function of glibc on x86-64: its documented errors are a few
// units of that format, about 2^-11 of a double's ulp, and its sinl, cosl and
// tanl reduce any argument with enough bits of pi. So an error measured here
// is exact to about 0.001 ulp. check fails when a result of any build is more
// than 1 ulp from the reference, when two builds differ by more than 1 ulp,
// when a result the product computes itself (see OwnResult) is not the
// nearest double, or when str would print sin, cos or tan differently from
// the nearest double.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "builtins/families.h"
#include "engine/value.h"

namespace zun {
namespace {

using builtins::MathFn;

struct Function {
  const char* name;
  MathFn fn;                      // one argument, or
  double (*fn2)(double, double);  // two (pow)
  long double (*reference)(long double, long double);
};

#define ZUN_REF1(f) [](long double x, long double) { return f(x); }
const Function kFunctions[] = {
    {"sin", builtins::MathSin, nullptr, ZUN_REF1(sinl)},
    {"cos", builtins::MathCos, nullptr, ZUN_REF1(cosl)},
    {"tan", builtins::MathTan, nullptr, ZUN_REF1(tanl)},
    {"exp", builtins::MathExp, nullptr, ZUN_REF1(expl)},
    {"log", builtins::MathLog, nullptr, ZUN_REF1(logl)},
    {"log10", builtins::MathLog10, nullptr, ZUN_REF1(log10l)},
    {"sqrt", builtins::MathSqrt, nullptr, ZUN_REF1(sqrtl)},
    {"sinh", builtins::MathSinh, nullptr, ZUN_REF1(sinhl)},
    {"cosh", builtins::MathCosh, nullptr, ZUN_REF1(coshl)},
    {"tanh", builtins::MathTanh, nullptr, ZUN_REF1(tanhl)},
    {"asin", builtins::MathAsin, nullptr, ZUN_REF1(asinl)},
    {"acos", builtins::MathAcos, nullptr, ZUN_REF1(acosl)},
    {"atan", builtins::MathAtan, nullptr, ZUN_REF1(atanl)},
    {"abs", builtins::MathAbs, nullptr, ZUN_REF1(fabsl)},
    {"floor", builtins::MathFloor, nullptr, ZUN_REF1(floorl)},
    {"pow", nullptr, builtins::MathPow, [](long double x, long double y) { return powl(x, y); }},
};
#undef ZUN_REF1

double FromBits(uint64_t b) {
  double d;
  std::memcpy(&d, &b, sizeof d);
  return d;
}

uint64_t Bits(double d) {
  uint64_t b;
  std::memcpy(&b, &d, sizeof b);
  return b;
}

// A fixed generator, so that every build makes the same list.
struct Random {
  uint64_t state = 0x9E3779B97F4A7C15ull;
  uint64_t Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  }
  int Between(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1)); }
  // A random double with an exponent in [lo, hi] and a random sign.
  double Exponent(int lo, int hi) {
    int e = Between(lo, hi);
    uint64_t mantissa = Next() & ((uint64_t{1} << 52) - 1);
    uint64_t bits = e >= -1022 ? (static_cast<uint64_t>(e + 1023) << 52) | mantissa
                               : ((uint64_t{1} << 52) | mantissa) >> (-1022 - e + 1);
    double d = FromBits(bits | (bits == 0));
    return Next() & 1 ? -d : d;
  }
  double Uniform(double lo, double hi) { return lo + (hi - lo) * static_cast<double>(Next() >> 11) * 0x1p-53; }
};

const double kInf = INFINITY;

// Values every one-argument function meets: zeros, subnormals, the extremes,
// the infinities, NaN, powers of two and ten, and the nearest doubles to
// multiples of pi/2 with their neighbours.
std::vector<double> CommonEdges() {
  std::vector<double> v = {0.0,
                           -0.0,
                           FromBits(1),
                           -FromBits(1),
                           0x1p-1022,
                           0x1.fffffffffffffp+1023,
                           -0x1.fffffffffffffp+1023,
                           kInf,
                           -kInf,
                           NAN,
                           1e22,
                           0x1p1023,
                           4611686018427387904.0,
                           1e17,
                           9223372036854775807.0,
                           6381956970095103.0 * 0x1p797,
                           0.5,
                           1,
                           -1,
                           2,
                           0.1};
  for (int e = -1074; e <= 1023; e += 7) v.push_back(std::ldexp(1.0, e));
  double ten = 1;  // the powers of ten, each correctly rounded on every build
  for (int k = 0; k <= 22; ++k, ten *= 10) {
    v.push_back(ten);
    v.push_back(1 / ten);
  }
  for (int k = 1; k <= 2000; ++k) {
    double m = k * 1.5707963267948966192313216916398L;
    v.push_back(m);
    v.push_back(std::nextafter(m, kInf));
    v.push_back(std::nextafter(m, -kInf));
    v.push_back(-m);
  }
  return v;
}

std::vector<double> Arguments(const std::string& name, Random& r) {
  std::vector<double> v = CommonEdges();
  constexpr int kRandom = 150000;
  for (int i = 0; i < kRandom; ++i) {
    double x;
    if (name == "sin" || name == "cos" || name == "tan") x = i % 2 ? r.Exponent(-30, 30) : r.Exponent(-1074, 1023);
    else if (name == "exp") x = i % 2 ? r.Uniform(-746, 710) : r.Exponent(-60, 9);
    else if (name == "log" || name == "log10" || name == "sqrt") x = std::fabs(r.Exponent(-1074, 1023));
    else if (name == "sinh" || name == "cosh") x = i % 2 ? r.Uniform(-711, 711) : r.Exponent(-60, 5);
    else if (name == "tanh") x = i % 2 ? r.Uniform(-23, 23) : r.Exponent(-60, 5);
    else if (name == "asin" || name == "acos") x = r.Uniform(-1, 1);
    else x = r.Exponent(-1074, 1023);
    v.push_back(x);
  }
  return v;
}

std::vector<std::pair<double, double>> PowArguments(Random& r) {
  const double specials[] = {0.0,
                             -0.0,
                             1,
                             -1,
                             0.5,
                             -0.5,
                             2,
                             -2,
                             3,
                             -3,
                             1.5,
                             -1.5,
                             10,
                             0x1p-1074,
                             1e308,
                             kInf,
                             -kInf,
                             NAN,
                             0x1.fffffffffffffp-1,
                             0x1.0000000000001p0,
                             1023,
                             1024,
                             -1074};
  std::vector<std::pair<double, double>> v;
  for (double x : specials)
    for (double y : specials) v.push_back({x, y});
  for (int i = 0; i < 400000; ++i) {
    double x, y;
    switch (i % 5) {
      case 0:  // whole numbers, as scripts use them
        x = static_cast<double>(r.Between(-1000, 1000));
        y = static_cast<double>(r.Between(-120, 120));
        break;
      case 1:  // results across the whole range
        x = std::fabs(r.Exponent(-1022, 1023));
        y = r.Uniform(-1074, 1023) / (std::ilogb(x) + 0.5);
        break;
      case 2:  // near 1, large powers
        x = 1 + r.Uniform(-1e-6, 1e-6);
        y = r.Exponent(0, 40);
        break;
      case 3:  // odd integers squared and cubed: results exactly halfway
        x = static_cast<double>((r.Next() % (uint64_t{1} << 27)) | 1);
        y = i % 2 ? 2 : 3;
        break;
      default:
        x = r.Exponent(-20, 20);
        y = r.Exponent(-10, 6);
        break;
    }
    v.push_back({x, y});
  }
  return v;
}

// One pass over the list: f(name, x, y, result).
template <typename Visit>
void ForEachCase(Visit visit) {
  Random r;
  for (const Function& f : kFunctions) {
    if (f.fn) {
      for (double x : Arguments(f.name, r)) visit(f, x, 0.0, f.fn(x));
    } else {
      for (auto [x, y] : PowArguments(r)) visit(f, x, y, f.fn2(x, y));
    }
  }
}

// |result - reference| in ulps of the reference rounded to a double.
long double UlpError(double result, long double ref) {
  double rounded = static_cast<double>(ref);
  if (std::isnan(result) || std::isnan(rounded)) return std::isnan(result) == std::isnan(rounded) ? 0 : 1e30L;
  if (std::isinf(rounded) || std::isinf(result)) return result == rounded ? 0 : 1e30L;
  int e;
  std::frexp(rounded == 0 ? static_cast<double>(ref) : rounded, &e);
  long double ulp = ldexpl(1.0L, e - 53 < -1074 ? -1074 : e - 53);
  if (rounded == 0) ulp = ldexpl(1.0L, -1074);
  return fabsl(static_cast<long double>(result) - ref) / ulp;
}

// The distance in representable doubles between two results.
uint64_t UlpDistance(double a, double b) {
  if (std::isnan(a) && std::isnan(b)) return 0;
  auto key = [](double d) {
    uint64_t u = Bits(d);
    return u >> 63 ? -static_cast<int64_t>(u & ~(uint64_t{1} << 63)) : static_cast<int64_t>(u);
  };
  int64_t d = key(a) - key(b);
  return static_cast<uint64_t>(d < 0 ? -d : d);
}

struct Tally {
  long double worst = 0;
  double worstX = 0, worstY = 0;
  uint64_t notNearest = 0, strDiffers = 0, maxApart = 0, apart = 0;
};

// Where the product computes the result itself (not the run-time), and
// promises the correctly rounded double.
bool OwnResult(const std::string& name, double x) {
  if (name == "sin" || name == "cos" || name == "tan") return std::fabs(x) > 0x1.921fb54442d18p-1 && std::isfinite(x);
  return name == "pow" || name == "exp" || name == "sinh" || name == "cosh" || name == "tanh" || name == "log10";
}

// Farther than this from the long double reference, a result is surely not
// the nearest double (the reference is within about 0.001 ulp).
constexpr long double kSurelyNotNearest = 0.5L + 1.0L / 512;

int Dump() {
  ForEachCase([](const Function&, double, double, double result) {
    std::printf("%016llx\n", static_cast<unsigned long long>(Bits(result)));
  });
  return std::fflush(stdout) == 0 ? 0 : 1;
}

int Check(const std::vector<std::string>& dumps) {
  std::vector<std::ifstream> others;
  for (const std::string& d : dumps) {
    others.emplace_back(d);
    if (!others.back()) {
      std::fprintf(stderr, "cannot read %s\n", d.c_str());
      return 2;
    }
  }
  std::vector<std::vector<Tally>> tallies(1 + others.size(), std::vector<Tally>(std::size(kFunctions)));
  bool shortDump = false;
  ForEachCase([&](const Function& f, double x, double y, double mine) {
    size_t fi = &f - kFunctions;
    long double ref = f.reference(x, y);
    double nearest = static_cast<double>(ref);
    u16 refText = EScriptValue::Double(nearest).ToString();
    for (size_t b = 0; b <= others.size(); ++b) {
      double result = mine;
      if (b > 0) {
        std::string line;
        if (!std::getline(others[b - 1], line)) {
          shortDump = true;
          continue;
        }
        result = FromBits(std::stoull(line, nullptr, 16));
      }
      Tally& t = tallies[b][fi];
      long double err = UlpError(result, ref);
      if (err > t.worst) {
        t.worst = err;
        t.worstX = x;
        t.worstY = y;
      }
      bool wrong = err > kSurelyNotNearest;
      if (wrong && OwnResult(f.name, x)) ++t.notNearest;
      if (wrong && EScriptValue::Double(result).ToString() != refText) {
        if (t.strDiffers++ < 3 && getenv("ZUN_MATH_VERBOSE"))
          std::fprintf(stderr, "%s(%.17g, %.17g) = %.17g, str %s; nearest %.17g, str %s\n", f.name, x, y, result,
                       ToUtf8(EScriptValue::Double(result).ToString()).c_str(), nearest, ToUtf8(refText).c_str());
      }
      uint64_t apart = UlpDistance(result, mine);
      if (apart > 0) ++t.apart;
      if (apart > t.maxApart) t.maxApart = apart;
    }
  });
  if (shortDump) {
    std::fprintf(stderr, "a dump ends early: it was not made from the same list\n");
    return 1;
  }
  bool failed = false;
  std::printf("%-6s %-6s %12s %10s %9s %10s %9s   worst argument\n", "fn", "build", "max ulp err", "own notCR",
              "str diff", "differ", "max apart");
  for (size_t fi = 0; fi < std::size(kFunctions); ++fi) {
    for (size_t b = 0; b < tallies.size(); ++b) {
      const Tally& t = tallies[b][fi];
      std::string name = kFunctions[fi].name;
      bool trig = name == "sin" || name == "cos" || name == "tan";
      bool bad = t.worst > 1.0L || t.maxApart > 1 || t.notNearest > 0 || (trig && t.strDiffers > 0);
      failed = failed || bad;
      std::printf("%-6s %-6s %12.3Lf %10llu %9llu %10llu %9llu   %.17g %.17g%s\n", kFunctions[fi].name,
                  b == 0 ? "this" : ("dump" + std::to_string(b)).c_str(), t.worst,
                  static_cast<unsigned long long>(t.notNearest), static_cast<unsigned long long>(t.strDiffers),
                  static_cast<unsigned long long>(t.apart), static_cast<unsigned long long>(t.maxApart), t.worstX,
                  t.worstY, bad ? "   <-- FAILS" : "");
    }
  }
  for (auto& o : others) {
    std::string extra;
    if (std::getline(o, extra)) {
      std::fprintf(stderr, "a dump is longer than the list\n");
      failed = true;
    }
  }
  return failed ? 1 : 0;
}

}  // namespace
}  // namespace zun

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "dump") return zun::Dump();
  if (mode == "check") return zun::Check(std::vector<std::string>(argv + 2, argv + argc));
  std::fprintf(stderr, "usage: zun_math_table dump | check [DUMP...]\n");
  return 2;
}
