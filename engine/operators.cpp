// What each operator computes. The left operand becomes the result.
#include "engine/operators.h"

#include "engine/engine.h"

namespace zun {

namespace {

// The arithmetic rule of '-', '*' and '/': the result keeps the left type.
template <EOperator Op>
bool Arithmetic(EZunScriptEngine& engine, EScriptValue& left, const EScriptValue& right) {
  if (left.type == SEVT_EMPTY) left.ChangeType(right.type);
  if (Op == OP_DIVIDE && !left.IsNumber()) return false;
  if (left.type == SEVT_DOUBLE) return ApplyToDoubles(Op, left.dValue, right.AsDouble());
  if (left.type == SEVT_INT) {
    int64_t r = right.AsInt64();
    if (Op == OP_MINUS) left.nValue = WrapSub(left.nValue, r);
    if (Op == OP_TIMES) left.nValue = WrapMul(left.nValue, r);
    if (Op == OP_DIVIDE) {
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

// Two doubles never get here: ApplyOperator adds them itself.
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
  left.SetInt64(RemainderOf(a, b));
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
// Two numbers never get here: ApplyOperator compares them itself.
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

}  // namespace

bool ApplyToNumbers(EOperator op, EScriptValue& left, const EScriptValue& right) {
  return ApplyToNumberPair(op, left, right);
}

// Binding levels: an operator is taken when the caller's minimum level is at
// most its level; its right operand is then evaluated at the right level.
// Unary operators give the level their operand is evaluated at.
const EOperatorInfo kOperatorTable[OP_COUNT] = {
    // text   level right assigns unary needsLeftValue apply
    {u"", 0, 0, false, 0, false, nullptr},  // OP_NONE
    {u"", 0, 0, false, 0, false, nullptr},  // OP_OTHER
    {u";", 0, 0, false, 0, false, nullptr},
    {u"}", 0, 0, false, 0, false, nullptr},
    {u",", 0, 0, false, 0, false, nullptr},
    {u"(", 0, 0, false, 0, false, nullptr},
    {u")", 0, 0, false, 0, false, nullptr},
    {u"{", 0, 0, false, 0, false, nullptr},
    {u"[", 0, 0, false, 0, false, nullptr},
    {u"]", 0, 0, false, 0, false, nullptr},
    {u"=", 1, 1, true, 0, true, Assign},
    {u"+=", 1, 2, true, 0, false, Plus},
    {u"-=", 1, 2, true, 0, false, Arithmetic<OP_MINUS>},
    {u"*=", 1, 2, true, 0, false, Arithmetic<OP_TIMES>},
    {u"/=", 1, 2, true, 0, false, Arithmetic<OP_DIVIDE>},
    {u"&=", 1, 2, true, 0, false, Bitwise<'&'>},
    {u"|=", 1, 2, true, 0, false, Bitwise<'|'>},
    {u"&&", 2, 3, false, 0, true, LogicalAnd},
    {u"||", 2, 3, false, 0, true, LogicalOr},
    {u"&", 3, 4, false, 0, true, Bitwise<'&'>},
    {u"|", 3, 4, false, 0, true, Bitwise<'|'>},
    {u"<", 4, 5, false, 0, false, Comparison<true, false, false>},
    {u"<=", 4, 5, false, 0, false, Comparison<true, true, false>},
    {u">", 4, 5, false, 0, false, Comparison<false, false, true>},
    {u">=", 4, 5, false, 0, false, Comparison<false, true, true>},
    {u"==", 4, 5, false, 0, false, Comparison<false, true, false>},
    {u"!=", 4, 5, false, 0, false, Comparison<true, false, true>},
    {u"-", 5, 6, false, 6, false, Arithmetic<OP_MINUS>},
    {u"+", 5, 6, false, 1, false, Plus},
    {u"*", 6, 7, false, 0, true, Arithmetic<OP_TIMES>},
    {u"/", 6, 7, false, 0, true, Arithmetic<OP_DIVIDE>},
    {u"%", 6, 7, false, 0, false, Remainder},
    {u"!", 0, 0, false, 5, false, LogicalNot},
};

EOperator OperatorOf(u16view text) {
  for (int i = OP_SEMICOLON; i < OP_COUNT; ++i)
    if (kOperatorTable[i].text == text) return static_cast<EOperator>(i);
  return OP_OTHER;
}

bool EZunScriptEngine::ApplyBinaryOperator(EScriptValue& left, const EScriptValue& right, const u16& op) {
  return ApplyOperator(OperatorOf(op), left, right);
}

}  // namespace zun
