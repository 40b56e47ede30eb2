// Math built-ins: results are doubles, domain errors give NaN or infinity.
#include <cmath>

#include "builtins/families.h"

namespace zun::builtins {

double MathAbs(double x) { return std::fabs(x); }
double MathSqrt(double x) { return std::sqrt(x); }
double MathFloor(double x) { return std::floor(x); }
double MathAcos(double x) { return std::acos(x); }
double MathAsin(double x) { return std::asin(x); }
double MathAtan(double x) { return std::atan(x); }
double MathCos(double x) { return std::cos(x); }
double MathCosh(double x) { return std::cosh(x); }
double MathExp(double x) { return std::exp(x); }
double MathLog(double x) { return std::log(x); }
double MathLog10(double x) { return std::log10(x); }
double MathSin(double x) { return std::sin(x); }
double MathSinh(double x) { return std::sinh(x); }
double MathTan(double x) { return std::tan(x); }
double MathTanh(double x) { return std::tanh(x); }

void ApplyMath(MathFn fn, EScriptCallContext& ctx, EScriptValue& result, bool& bOk) {
  double x = ctx.GetArgDouble(0, bOk, true);
  if (bOk) result = EScriptValue::Double(fn(x));
}

ZUN_BUILTIN(pow) {
  double x = ctx.GetArgDouble(0, bOk, true);
  double y = ctx.GetArgDouble(1, bOk, true);
  if (bOk) result = EScriptValue::Double(std::pow(x, y));
}

}  // namespace zun::builtins
