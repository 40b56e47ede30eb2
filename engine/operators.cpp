// What each operator computes. The left operand becomes the result.
#include "engine/engine.h"

namespace zun {

namespace {

using OperatorFn = bool (*)(EZunScriptEngine&, EScriptValue&, const EScriptValue&);

int64_t WrapSub(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}
int64_t WrapMul(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b));
}

// The arithmetic rule of '-', '*' and '/': the result keeps the left type.
template <char Op>
bool Arithmetic(EZunScriptEngine& engine, EScriptValue& left, const EScriptValue& right) {
  if (left.type == SEVT_EMPTY) left.ChangeType(right.type);
  if (Op == '/' && !left.IsNumber()) return false;
  if (left.type == SEVT_DOUBLE) {
    double r = right.AsDouble();
    if (Op == '-') left.dValue -= r;
    if (Op == '*') left.dValue *= r;
    if (Op == '/') left.dValue /= r;  // IEEE: infinities and NaN, no error
    return true;
  }
  if (left.type == SEVT_INT) {
    int64_t r = right.AsInt64();
    if (Op == '-') left.nValue = WrapSub(left.nValue, r);
    if (Op == '*') left.nValue = WrapMul(left.nValue, r);
    if (Op == '/') {
      if (r == 0) {
        engine.ReportError("/:right operand is zero, integer division impossible.");
        return false;
      }
      // INT64_MIN / -1 wraps around to INT64_MIN, like the other operators.
      left.nValue = r == -1 ? WrapSub(0, left.nValue) : left.nValue / r;
    }
    return true;
  }
  return false;
}

bool Assign(EZunScriptEngine&, EScriptValue& left, const EScriptValue& right) {
  left.CopyFrom(right);
  return true;
}

bool Plus(EZunScriptEngine&, EScriptValue& left, const EScriptValue& right) { return left.Add(right); }

bool Remainder(EZunScriptEngine& engine, EScriptValue& left, const EScriptValue& right) {
  int64_t a = 0, b = 0;
  if (!left.GetInt64(a) || !right.GetInt64(b)) {
    engine.ReportError("%:Left or right operand is not numerical");
    return false;
  }
  if (b == 0) {
    engine.ReportError("%:right operand is zero, operation impossible.");
    return false;
  }
  left.SetInt64(b == -1 ? 0 : a % b);
  return true;
}

template <char Op>
bool Bitwise(EZunScriptEngine& engine, EScriptValue& left, const EScriptValue& right) {
  int64_t a = 0, b = 0;
  if (!left.GetInt64(a) || !right.GetInt64(b)) {
    engine.ReportError(Op == '&' ? "Operator &: Left or right operand is not numerical"
                                 : "Operator |: Left or right operand is not numerical");
    return false;
  }
  left.SetInt64(Op == '&' ? (a & b) : (a | b));
  return true;
}

bool LogicalAnd(EZunScriptEngine&, EScriptValue& left, const EScriptValue& right) {
  left.SetInt64(left.IsTrue() && right.IsTrue() ? 1 : 0);
  return true;
}

bool LogicalOr(EZunScriptEngine&, EScriptValue& left, const EScriptValue& right) {
  left.SetInt64(left.IsTrue() || right.IsTrue() ? 1 : 0);
  return true;
}

bool LogicalNot(EZunScriptEngine&, EScriptValue& left, const EScriptValue& right) {
  left.SetInt64(right.IsTrue() ? 0 : 1);
  return true;
}

// Which results of Compare make each comparison true.
template <bool Less, bool Equal, bool Greater>
bool Comparison(EZunScriptEngine& engine, EScriptValue& left, const EScriptValue& right) {
  if (left.IsArray() || right.IsArray()) {
    engine.ReportError("Comparison operators not allowed for arrays");
    return false;
  }
  int c = EScriptValue::Compare(left, right);
  if (c == -2) {
    engine.ReportError("comparing variables of different (uncorvertable) types");
    return false;
  }
  bool holds = (c == -1 && Less) || (c == 0 && Equal) || (c == 1 && Greater);
  left.SetInt64(holds ? 1 : 0);
  return true;
}

struct OperatorRow {
  u16view text;
  OperatorFn fn;
};

const OperatorRow kOperators[] = {
    {u"=", Assign},
    {u"+", Plus},
    {u"+=", Plus},
    {u"-", Arithmetic<'-'>},
    {u"-=", Arithmetic<'-'>},
    {u"*", Arithmetic<'*'>},
    {u"*=", Arithmetic<'*'>},
    {u"/", Arithmetic<'/'>},
    {u"/=", Arithmetic<'/'>},
    {u"%", Remainder},
    {u"&", Bitwise<'&'>},
    {u"&=", Bitwise<'&'>},
    {u"|", Bitwise<'|'>},
    {u"|=", Bitwise<'|'>},
    {u"&&", LogicalAnd},
    {u"||", LogicalOr},
    {u"!", LogicalNot},
    {u"==", Comparison<false, true, false>},
    {u"!=", Comparison<true, false, true>},
    {u"<", Comparison<true, false, false>},
    {u"<=", Comparison<true, true, false>},
    {u">", Comparison<false, false, true>},
    {u">=", Comparison<false, true, true>},
};

}  // namespace

bool EZunScriptEngine::ApplyBinaryOperator(EScriptValue& left, const EScriptValue& right, const u16& op) {
  for (const auto& row : kOperators)
    if (op == row.text) return row.fn(*this, left, right);
  return false;
}

}  // namespace zun
