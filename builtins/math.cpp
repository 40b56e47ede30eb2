// Math built-ins: results are doubles, domain errors give NaN or infinity.
//
// Both builds must print the same numbers, and the C run-times do not agree:
// MinGW's sin and cos reduce large arguments with too few bits of pi, its pow
// errs by up to 8 units in the last place (ulp), and glibc's sinh, cosh, tanh
// and log10 by up to 2; the two exp differ by 1 ulp now and then, which shows
// in the every-digit print of a large result. So sin, cos and tan beyond pi/4,
// pow, exp, the hyperbolic functions and log10 are computed here in
// double-double arithmetic (a pair of doubles holding about 106 bits). Their results are correctly rounded
// except where the exact value lies within about 2^-80 of a halfway point,
// and identical on every build: only +, -, * and / of doubles are used, which
// every IEEE build rounds alike (the build keeps the compiler from fusing
// a*b+c here). sqrt, log, the inverse functions and sin, cos, tan of small
// arguments stay with the run-time: the builds agree on them to 1 ulp, and
// their results are small enough for str to show three decimals, which hide
// the last bit.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "builtins/families.h"

namespace zun::builtins {

namespace {

// ---- Double-double arithmetic: hi + lo, with |lo| at most half an ulp of hi.

struct DD {
  double hi, lo;
};

DD TwoSum(double a, double b) {  // a + b exactly
  double s = a + b, bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

DD FastTwoSum(double a, double b) {  // a + b exactly when |a| >= |b|
  double s = a + b;
  return {s, b - (s - a)};
}

// a * b exactly, by Dekker's splitting (no fused multiply-add needed).
DD TwoProd(double a, double b) {
  constexpr double kSplit = 134217729.0;  // 2^27 + 1
  double p = a * b;
  double ta = kSplit * a, ah = ta - (ta - a), al = a - ah;
  double tb = kSplit * b, bh = tb - (tb - b), bl = b - bh;
  return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

DD Neg(DD a) { return {-a.hi, -a.lo}; }

DD Add(DD a, DD b) {
  DD s = TwoSum(a.hi, b.hi), t = TwoSum(a.lo, b.lo);
  s = FastTwoSum(s.hi, s.lo + t.hi);
  return FastTwoSum(s.hi, s.lo + t.lo);
}

DD Mul(DD a, DD b) {
  DD p = TwoProd(a.hi, b.hi);
  return FastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

DD Div(DD a, DD b) {
  double q1 = a.hi / b.hi;
  DD r = Add(a, Neg(Mul(b, {q1, 0})));
  double q2 = r.hi / b.hi;
  r = Add(r, Neg(Mul(b, {q2, 0})));
  return Add(FastTwoSum(q1, q2), {r.hi / b.hi, 0});
}

DD Times2(DD a, int k) { return {std::ldexp(a.hi, k), std::ldexp(a.lo, k)}; }  // exact

constexpr DD kOne = {1, 0};

// 1/n as a pair for the series' divisors up to 72, made once: a product is
// several times cheaper than a quotient.
const DD& InverseOf(int n) {
  static const std::array<DD, 73> table = [] {
    std::array<DD, 73> t{};
    for (int i = 1; i < 73; ++i) t[i] = Div(kOne, {static_cast<double>(i), 0});
    return t;
  }();
  return table[n];
}

double Pow2(int64_t e) {  // 2^e for -1022 <= e <= 1023
  uint64_t bits = static_cast<uint64_t>(e + 1023) << 52;
  double p;
  std::memcpy(&p, &bits, sizeof p);
  return p;
}

// d * 2^k with one rounding, also where the result is subnormal or overflows.
double Scale(double d, int64_t k) {
  if (k > 1023) return d * Pow2(1023) * Pow2(k - 1023 > 1023 ? 1023 : k - 1023);
  if (k < -1022) return k < -2044 ? d * 0.0 : d * Pow2(k + 1022) * Pow2(-1022);
  return d * Pow2(k);
}

// The nearest double to (v.hi + v.lo) * 2^k for v > 0. A subnormal result has
// fewer bits than hi: rounding hi alone could round twice, so what hi lost is
// weighed together with lo.
double ScalePair(DD v, int64_t k) {
  double d = Scale(v.hi, k);
  if (d >= 0x1p-1022 || k < -2000) return d;
  double back = Scale(d, -k);  // d in v's units, exact
  double rest = v.hi - back, half = Scale(0x1p-1074, -k - 1);
  if (rest > half || (rest == half && v.lo > 0)) return d + 0x1p-1074;
  if (rest < -half || (rest == -half && v.lo < 0)) return d - 0x1p-1074;
  return d;
}

// ---- sin, cos and tan: the argument reduced exactly, then Taylor series.

constexpr double kPiOver4 = 0x1.921fb54442d18p-1;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
constexpr DD kPiOver2 = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
// pi/2 in three parts of at most 33 bits and a rest: n times a part is exact
// for every n below 2^20.
constexpr double kPiOver2Parts[4] = {0x1.921fb544p+0, 0x1.0b4611a6p-34, 0x1.3198a2ep-69, 0x1.b839a252049c1p-104};
constexpr double kMediumLimit = 0x1p20;

// The bits of 2/pi, 32 to a word: 2/pi = sum of kTwoOverPi32[i] * 2^(-32(i+1)).
// The window of the largest doubles ends in word 37 (computed with 1,600-bit
// arithmetic; the tests compare results at every exponent).
constexpr uint32_t kTwoOverPi32[38] = {
    0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0, 0xDB629599, 0x3C439041, 0xFE5163AB, 0xDEBBC561,
    0xB7246E3A, 0x424DD2E0, 0x06492EEA, 0x09D1921C, 0xFE1DEB1C, 0xB129A73E, 0xE88235F5, 0x2EBB4484,
    0xE99C7026, 0xB45F7E41, 0x3991D639, 0x835339F4, 0x9C845F8B, 0xBDF9283B, 0x1FF897FF, 0xDE05980F,
    0xEF2F118B, 0x5A0A6D1F, 0x6D367ECF, 0x27CB09B7, 0x4F463F66, 0x9E5FEA2D, 0x7527BAC7, 0xEBE5F17B,
    0x3D0739F7, 0x8A5292EA, 0x6BFB5FB1, 0x1F8D5D08, 0x56033046, 0xFC7B6BAB};

// x - n*pi/2 with |r| <= about pi/4, and n mod 4. A double can lie within
// 2^-61 of a multiple of pi/2, so r must keep about 120 bits below x's units.
struct Reduced {
  DD r;
  int quadrant;
};

// Below 2^20 (Cody and Waite): n*part is exact, each subtraction is exact or
// kept as a pair, which leaves r accurate to about 2^-130.
Reduced ReduceMedium(double x) {
  double n = std::floor(x * kTwoOverPi + 0.5);
  double a = x - n * kPiOver2Parts[0];  // exact: the two are close
  DD b = TwoSum(a, -n * kPiOver2Parts[1]);
  DD c = TwoSum(b.hi, -n * kPiOver2Parts[2]);
  DD r = TwoSum(c.hi, (b.lo + c.lo) - n * kPiOver2Parts[3]);
  return {r, static_cast<int>(static_cast<int64_t>(n) & 3)};
}

// From 2^20 on (Payne and Hanek): x = m * 2^e with m a 53-bit integer, and
// x*2/pi mod 4 is m times the window of 224 bits of 2/pi that starts where
// the bits before it would only add multiples of 4. The product is exact; the
// bits of 2/pi after the window change it by less than 2^(53-191).
Reduced ReduceLarge(double x) {
  uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  int e = static_cast<int>((bits >> 52) & 0x7FF) - 1075;
  uint64_t m = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
  constexpr int kWindow = 7, kLimbs = kWindow + 3;
  int first = e >= 2 ? (e - 2) / 32 : 0;
  int s = 32 * (first + kWindow) - e;  // fraction bits of the product
  // The product, 32 bits to a limb, least significant first.
  uint32_t p[kLimbs] = {};
  for (int half = 0; half < 2; ++half) {
    uint64_t mh = half ? m >> 32 : m & 0xFFFFFFFF, carry = 0;
    for (int j = 0; j < kWindow; ++j) {
      uint64_t t = mh * kTwoOverPi32[first + kWindow - 1 - j] + p[j + half] + carry;
      p[j + half] = static_cast<uint32_t>(t);
      carry = t >> 32;
    }
    for (int j = kWindow + half; carry; ++j) {
      uint64_t t = uint64_t{p[j]} + carry;
      p[j] = static_cast<uint32_t>(t);
      carry = t >> 32;
    }
  }
  auto word = [&p](int pos) {  // bits pos .. pos+31 of the product
    int limb = (pos + 32 * kLimbs) / 32 - kLimbs, shift = pos - 32 * limb;
    auto at = [&p](int i) { return i >= 0 && i < kLimbs ? uint64_t{p[i]} : 0; };
    return static_cast<uint32_t>(((at(limb + 1) << 32) | at(limb)) >> shift);
  };
  int quadrant = static_cast<int>(word(s) & 3);
  // Keep only the fraction; from halfway on it counts from the next multiple.
  for (int i = 0; i < kLimbs; ++i) {
    int low = 32 * i;
    if (low >= s) p[i] = 0;
    else if (s - low < 32) p[i] &= (uint32_t{1} << (s - low)) - 1;
  }
  double sign = 1;
  if (word(s - 1) & 1) {
    quadrant = (quadrant + 1) & 3;
    sign = -1;
    uint64_t carry = 1;  // 2^s - fraction: the complement plus one, within s bits
    for (int i = 0; i < kLimbs; ++i) {
      uint64_t t = uint64_t{static_cast<uint32_t>(~p[i])} + carry;
      p[i] = static_cast<uint32_t>(t);
      carry = t >> 32;
    }
    for (int i = 0; i < kLimbs; ++i) {
      int low = 32 * i;
      if (low >= s) p[i] = 0;
      else if (s - low < 32) p[i] &= (uint32_t{1} << (s - low)) - 1;
    }
  }
  int top = s - 1;
  while (top > 0 && !((p[top / 32] >> (top % 32)) & 1)) --top;
  // The 96 bits from the leading one, as a pair of doubles.
  uint64_t head = (uint64_t{word(top - 31)} << 32) | word(top - 63);
  double tail = word(top - 95);
  DD f = FastTwoSum(static_cast<double>(head & ~uint64_t{0x7FF}), static_cast<double>(head & 0x7FF) + tail * 0x1p-32);
  DD r = Times2(Mul(f, kPiOver2), top - 63 - s);
  if (x < 0) {  // -x = -n*pi/2 - r
    sign = -sign;
    quadrant = (4 - quadrant) & 3;
  }
  return {{sign * r.hi, sign * r.lo}, quadrant};
}

// 1 - r2/(a(a+1)) * (1 - r2/((a+2)(a+3)) * (1 - ...)): the Taylor series of
// sin r / r (a = 2) and of cos r (a = 1) for |r| <= pi/4. Twelve levels reach
// 2^-90; the inner ones, which change the result by less than 2^-20, are
// done in doubles.
DD TaylorLevels(DD r2, int a) {
  constexpr int kLevels = 12, kPrecise = 4;
  double t = 0;
  for (int k = kLevels - 1; k >= kPrecise; --k) {
    double d = a + 2 * k;
    t = r2.hi / (d * (d + 1)) * (1 - t);
  }
  DD s = {t, 0};
  for (int k = kPrecise - 1; k >= 0; --k) {
    int d = a + 2 * k;
    s = Mul(Mul(r2, InverseOf(d * (d + 1))), Add(kOne, Neg(s)));
  }
  return Add(kOne, Neg(s));
}

DD SinOf(DD r) { return Mul(r, TaylorLevels(Mul(r, r), 2)); }
DD CosOf(DD r) { return TaylorLevels(Mul(r, r), 1); }

Reduced Reduce(double x) { return std::fabs(x) < kMediumLimit ? ReduceMedium(x) : ReduceLarge(x); }

// Arguments within pi/4 go to the run-time unchanged: there it is accurate on
// both builds. Infinities and NaN give NaN there too.
bool RunTimeIsExact(double x) { return std::fabs(x) <= kPiOver4 || !std::isfinite(x); }

// ---- exp and log in double-double, for pow and the hyperbolic functions.

// ln 2 in parts of 42 bits and a rest: k*part is exact for |k| < 2^11.
constexpr double kLn2Parts[3] = {0x1.62e42fefa38p-1, 0x1.ef35793c768p-45, -0x1.9ff0342542fc3p-90};
constexpr double kInvLn2 = 0x1.71547652b82fep+0;
constexpr DD kLn10 = {0x1.26bb1bbb55516p+1, -0x1.f48ad494ea3e9p-53};
constexpr double kSqrtHalf = 0x1.6a09e667f3bcdp-1;

// e^x = (1 + em1) * 2^k, with em1 = e^t - 1 for t = x - k ln 2, |t| <= ln2/2
// (so for |x| < ln2/2, k is 0 and em1 is e^x - 1 to full precision). t/32
// goes through the Taylor series of e^u - 1, and five squarings of 1 + em1
// (em1 := em1 (em1 + 2), which keeps em1's precision) bring it back.
struct ExpParts {
  DD em1;
  int k;
};

ExpParts ExpDD(DD x) {
  double k = std::floor(x.hi * kInvLn2 + 0.5);
  DD t = TwoSum(x.hi - k * kLn2Parts[0], x.lo);
  t = Add(Add(t, {-k * kLn2Parts[1], 0}), {-k * kLn2Parts[2], 0});
  constexpr int kHalvings = 5;
  DD u = Times2(t, -kHalvings);
  double inner = 0;  // levels 5 to 14: u/j (1 + ...), less than 2^-30 of the result
  for (int j = 14; j >= 5; --j) inner = u.hi / j * (1 + inner);
  DD level = {inner, 0};
  for (int j = 4; j >= 2; --j) level = Mul(Mul(u, InverseOf(j)), Add(kOne, level));
  DD em1 = Mul(u, Add(kOne, level));
  for (int i = 0; i < kHalvings; ++i) em1 = Mul(em1, Add(em1, {2, 0}));
  return {em1, static_cast<int>(k)};
}

// ln x for finite x > 0: x = f * 2^e with f in [sqrt(1/2), sqrt(2)), and
// ln f = 2 atanh s, s = (f-1)/(f+1), |s| < 0.172, by its series
// s (1 + s^2/3 + s^4/5 + ...); from s^8 on in doubles.
DD LogDD(double x) {
  int e;
  double f = std::frexp(x, &e);
  if (f < kSqrtHalf) {
    f *= 2;
    --e;
  }
  DD s = Div({f - 1, 0}, TwoSum(f, 1));
  DD s2 = Mul(s, s);
  double inner = 0;
  for (int j = 16; j >= 4; --j) inner = 1.0 / (2 * j + 1) + s2.hi * inner;
  DD series = {inner, 0};
  for (int j = 3; j >= 1; --j) series = Add(InverseOf(2 * j + 1), Mul(s2, series));
  series = Add(kOne, Mul(s2, series));
  DD eLn2 = Add(TwoSum(e * kLn2Parts[0], e * kLn2Parts[1]), {e * kLn2Parts[2], 0});
  return Add(eLn2, Times2(Mul(s, series), 1));
}

// The rounded value of (1 + em1) * 2^k (em1 and k as ExpDD gives them).
double ExpValue(ExpParts p) { return ScalePair(Add(kOne, p.em1), p.k); }

// ---- pow

// |x|^n for an integer n, |n| < 2^31, by squaring: the pair keeps its own
// exponent, so nothing overflows before the end. Exact while the exact power
// fits in 106 bits, so results that are exactly halfway round to even.
double PowInteger(double ax, double n) {
  int e0;
  DD base = {std::frexp(ax, &e0), 0};
  int64_t be = e0, ae = 0;
  DD acc = kOne;
  auto normalize = [](DD& d, int64_t& e) {
    int k;
    d.hi = std::frexp(d.hi, &k);
    d.lo = std::ldexp(d.lo, -k);
    e += k;
  };
  for (uint64_t left = static_cast<uint64_t>(std::fabs(n));;) {
    if (left & 1) {
      acc = Mul(acc, base);
      ae += be;
      normalize(acc, ae);
    }
    left >>= 1;
    if (!left) break;
    base = Mul(base, base);
    be *= 2;
    normalize(base, be);
  }
  if (n < 0) {
    acc = Div(kOne, acc);
    ae = -ae;
    normalize(acc, ae);
  }
  if (ae > 2100) ae = 2100;
  if (ae < -2200) ae = -2200;
  return ScalePair(acc, ae);
}

// |x|^y = e^(y ln|x|) for the rest.
double PowGeneral(double ax, double y) {
  DD l = LogDD(ax);
  double estimate = y * l.hi;
  if (estimate > 710) return std::numeric_limits<double>::infinity();
  if (estimate < -746) return 0;
  DD p = TwoProd(y, l.hi);
  p = FastTwoSum(p.hi, p.lo + y * l.lo);
  return ExpValue(ExpDD(p));
}

double Pow(double x, double y) {
  // Zeros, ones, infinities and NaN follow fixed rules that every run-time
  // keeps, as does a negative x with a y that is not a whole number (NaN).
  bool whole = std::isfinite(y) && std::floor(y) == y;
  if (!std::isfinite(x) || !std::isfinite(y) || x == 0 || y == 0 || x == 1 || (x < 0 && !whole)) return std::pow(x, y);
  double ax = std::fabs(x);
  double r = ax == 1 ? 1 : whole && std::fabs(y) < 0x1p31 ? PowInteger(ax, y) : PowGeneral(ax, y);
  bool odd = whole && std::fabs(y) < 0x1p53 && std::fmod(y, 2) != 0;
  return x < 0 && odd ? -r : r;
}

// ---- Hyperbolic functions and log10

constexpr double kTiny = 0x1p-28;  // below it sinh x and tanh x round to x, cosh x to 1
constexpr double kHalfLn2 = 0x1.62e42fefa39efp-2;

// e^a as a pair times 2^k for a >= 0.
DD ExpPair(double a, int& k) {
  ExpParts p = ExpDD({a, 0});
  k = p.k;
  return Add(kOne, p.em1);
}

constexpr double kOverflows = 711;  // sinh and cosh are above the largest double

double Sinh(double x) {
  double a = std::fabs(x);
  if (a < kTiny || !std::isfinite(x)) return x;
  if (a > kOverflows) return std::copysign(std::numeric_limits<double>::infinity(), x);
  DD s;
  int k = 0;
  if (a < kHalfLn2) {  // (em1 + em1/(em1 + 1)) / 2: no cancellation
    DD em1 = ExpDD({a, 0}).em1;
    s = Times2(Add(em1, Div(em1, Add(em1, kOne))), -1);
  } else {
    DD v = ExpPair(a, k);
    if (k > 60) {  // e^-a is below 2^-120 of e^a
      k -= 1;
      s = v;
    } else {
      v = Times2(v, k);
      k = 0;
      s = Times2(Add(v, Neg(Div(kOne, v))), -1);
    }
  }
  return std::copysign(Scale(s.hi, k), x);
}

double Cosh(double x) {
  double a = std::fabs(x);
  if (!std::isfinite(x) || a > kOverflows) return a * std::numeric_limits<double>::infinity();
  if (a < kTiny) return 1;
  int k;
  DD v = ExpPair(a, k);
  if (k > 60) return Scale(v.hi, k - 1);
  v = Times2(v, k);
  return Times2(Add(v, Div(kOne, v)), -1).hi;
}

double Tanh(double x) {
  double a = std::fabs(x);
  if (a < kTiny || std::isnan(x)) return x;
  if (a > 22) return std::copysign(1.0, x);  // 1 - tanh a < 2^-62
  DD m;                                      // e^(2a) - 1
  if (2 * a < kHalfLn2) {
    m = ExpDD({2 * a, 0}).em1;
  } else {
    int k;
    DD v = ExpPair(2 * a, k);
    m = Add(Times2(v, k), {-1, 0});
  }
  return std::copysign(Div(m, Add(m, {2, 0})).hi, x);
}

double Exp(double x) {
  if (!std::isfinite(x) || x > 710 || x < -746) return std::exp(x);  // inf, 0, NaN
  return ExpValue(ExpDD({x, 0}));
}

double Log10(double x) {
  if (!(x > 0) || !std::isfinite(x)) return std::log10(x);
  return Div(LogDD(x), kLn10).hi;
}

}  // namespace

double MathAbs(double x) { return std::fabs(x); }
double MathSqrt(double x) { return std::sqrt(x); }
double MathFloor(double x) { return std::floor(x); }
double MathAcos(double x) { return std::acos(x); }
double MathAsin(double x) { return std::asin(x); }
double MathAtan(double x) { return std::atan(x); }
double MathExp(double x) { return Exp(x); }
double MathLog(double x) { return std::log(x); }
double MathLog10(double x) { return Log10(x); }
double MathCosh(double x) { return Cosh(x); }
double MathSinh(double x) { return Sinh(x); }
double MathTanh(double x) { return Tanh(x); }
double MathPow(double x, double y) { return Pow(x, y); }

double MathSin(double x) {
  if (RunTimeIsExact(x)) return std::sin(x);
  Reduced a = Reduce(x);
  DD v = a.quadrant & 1 ? CosOf(a.r) : SinOf(a.r);
  return a.quadrant & 2 ? -v.hi : v.hi;
}

double MathCos(double x) {
  if (RunTimeIsExact(x)) return std::cos(x);
  Reduced a = Reduce(x);
  DD v = a.quadrant & 1 ? SinOf(a.r) : CosOf(a.r);
  return (a.quadrant + 1) & 2 ? -v.hi : v.hi;
}

double MathTan(double x) {
  if (RunTimeIsExact(x)) return std::tan(x);
  Reduced a = Reduce(x);
  DD s = SinOf(a.r), c = CosOf(a.r);
  return a.quadrant & 1 ? -Div(c, s).hi : Div(s, c).hi;
}

void ApplyMath(MathFn fn, EScriptCallContext& ctx, EScriptValue& result, bool& bOk) {
  double x = ctx.GetArgDouble(0, bOk, true);
  if (bOk) result = EScriptValue::Double(fn(x));
}

ZUN_BUILTIN(pow) {
  double x = ctx.GetArgDouble(0, bOk, true);
  double y = ctx.GetArgDouble(1, bOk, true);
  if (bOk) result = EScriptValue::Double(MathPow(x, y));
}

}  // namespace zun::builtins
