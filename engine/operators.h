// The operators and punctuation of the language: one row per spelling, with
// everything the evaluator needs to know of it and what it computes.
#pragma once

#include <cstdint>

#include "engine/value.h"
#include "text/text.h"

namespace zun {

class EZunScriptEngine;
class EScriptValue;

enum EOperator : int16_t {
  OP_NONE = 0,  // the token is not an operator
  OP_OTHER,     // punctuation with no role of its own: '.', ':', '@', ...
  OP_SEMICOLON,
  OP_CLOSE_BRACE,
  OP_COMMA,
  OP_OPEN_PAREN,
  OP_CLOSE_PAREN,
  OP_OPEN_BRACE,
  OP_OPEN_BRACKET,
  OP_CLOSE_BRACKET,
  OP_ASSIGN,
  OP_ADD_ASSIGN,
  OP_SUB_ASSIGN,
  OP_MUL_ASSIGN,
  OP_DIV_ASSIGN,
  OP_AND_ASSIGN,
  OP_OR_ASSIGN,
  OP_AND,
  OP_OR,
  OP_BIT_AND,
  OP_BIT_OR,
  OP_LESS,
  OP_LESS_EQUAL,
  OP_GREATER,
  OP_GREATER_EQUAL,
  OP_EQUAL,
  OP_NOT_EQUAL,
  OP_MINUS,
  OP_PLUS,
  OP_TIMES,
  OP_DIVIDE,
  OP_REMAINDER,
  OP_NOT,
  OP_COUNT
};

// Computes left := left op right; false when the operation fails.
using OperatorFn = bool (*)(EZunScriptEngine&, EScriptValue&, const EScriptValue&);

struct EOperatorInfo {
  u16view text;
  int8_t level;         // binding level as a binary operator; 0: none
  int8_t rightLevel;    // the level its right operand is evaluated at
  bool assigns;         // stores the result through the left value
  int8_t unaryLevel;    // operand level as a unary operator; 0: none
  bool needsLeftValue;  // cannot start an expression
  OperatorFn apply;     // null for punctuation
};

extern const EOperatorInfo kOperatorTable[OP_COUNT];
// + - * / and their assignments on a double: the one rule of double
// arithmetic (IEEE: infinities and NaN, no error); false for any other
// operator.
inline bool ApplyToDoubles(EOperator op, double& a, double b) {
  switch (op) {
    case OP_PLUS:
    case OP_ADD_ASSIGN: a += b; return true;
    case OP_MINUS:
    case OP_SUB_ASSIGN: a -= b; return true;
    case OP_TIMES:
    case OP_MUL_ASSIGN: a *= b; return true;
    case OP_DIVIDE:
    case OP_DIV_ASSIGN: a /= b; return true;
    default: return false;
  }
}
// Which outcomes of a comparison make each comparison operator hold: 1
// less, 2 equal, 4 greater; 0 for any other operator.
inline uint8_t CompareMask(EOperator op) {
  static constexpr uint8_t kMasks[] = {1, 1 | 2, 4, 4 | 2, 2, 1 | 4};  // < <= > >= == !=
  return op >= OP_LESS && op <= OP_NOT_EQUAL ? kMasks[op - OP_LESS] : 0;
}
// The outcome of comparing a with b (a NaN compares as greater).
template <class T>
inline int CompareOutcome(T a, T b) {
  return a < b ? 1 : a == b ? 2 : 4;
}
// Two's-complement arithmetic on 64-bit integers, without signed overflow.
inline int64_t WrapAdd(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}
inline int64_t WrapSub(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}
inline int64_t WrapMul(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b));
}
inline const EOperatorInfo& OperatorInfo(EOperator op) { return kOperatorTable[op]; }
// A number without the payloads of a value: what arithmetic between
// numbers reads and makes.
struct ENumber {
  int32_t type;  // SEVT_DOUBLE or SEVT_INT
  union {
    double dValue;
    int64_t nValue;
  };
  void SetInt64(int64_t n) {
    type = SEVT_INT;
    nValue = n;
  }
  int64_t AsInt64() const { return type == SEVT_INT ? nValue : TruncToInt64(dValue); }
  // The number a value holds (a value whose type is a number).
  static ENumber Of(const EScriptValue& v) {
    ENumber n;
    n.type = v.type;
    n.nValue = v.nValue;  // the bits of either number
    return n;
  }
};
// The outcome of comparing two numbers (see CompareOutcome), decided in
// the right operand's type: as doubles when it is a double, else as the
// integer readings of both. For values and ENumbers alike.
template <class Left, class Right>
inline int NumberOutcome(const Left& left, const Right& right) {
  if (right.type == SEVT_DOUBLE)
    return CompareOutcome(left.type == SEVT_DOUBLE ? left.dValue : static_cast<double>(left.nValue), right.dValue);
  return CompareOutcome(left.type == SEVT_INT ? left.nValue : TruncToInt64(left.dValue), right.nValue);
}
// + - * / (and their assignments) and the comparisons between two numbers
// (ints or doubles), as the operators compute them: arithmetic keeps the
// left operand's type, a comparison makes an int 1 or 0. False, changing
// nothing, for any other operator and for an integer division by zero,
// which the operator's function reports. For values and for ENumbers alike
// (both have type, dValue, nValue and SetInt64).
template <class Left, class Right>
inline bool ApplyToNumberPair(EOperator op, Left& left, const Right& right) {
  if (uint8_t mask = CompareMask(op)) {
    left.SetInt64((mask & NumberOutcome(left, right)) != 0);
    return true;
  }
  // The right operand read as a double (Add, Arithmetic).
  if (left.type == SEVT_DOUBLE)
    return ApplyToDoubles(op, left.dValue,
                          right.type == SEVT_DOUBLE ? right.dValue : static_cast<double>(right.nValue));
  // The right operand's integer reading (Add, Arithmetic).
  int64_t r = right.type == SEVT_INT ? right.nValue : TruncToInt64(right.dValue);
  switch (op) {
    case OP_PLUS:
    case OP_ADD_ASSIGN: left.nValue = WrapAdd(left.nValue, r); return true;
    case OP_MINUS:
    case OP_SUB_ASSIGN: left.nValue = WrapSub(left.nValue, r); return true;
    case OP_TIMES:
    case OP_MUL_ASSIGN: left.nValue = WrapMul(left.nValue, r); return true;
    case OP_DIVIDE:
    case OP_DIV_ASSIGN:
      if (r == 0) return false;  // reported the long way
      left.nValue = r == -1 ? WrapSub(0, left.nValue) : left.nValue / r;
      return true;
    default: return false;
  }
}
bool ApplyToNumbers(EOperator op, EScriptValue& left, const EScriptValue& right);
// What % makes of two integer readings, the divisor not zero (INT64_MIN %
// -1 would trap).
inline int64_t RemainderOf(int64_t a, int64_t b) { return b == -1 ? 0 : a % b; }
// The identity of an operator spelling; OP_OTHER for any other text.
EOperator OperatorOf(u16view text);

}  // namespace zun
