// The executor: runs the compiled form of a statement as the text
// interpreter would run its text, step for step (the same values, copies,
// reports and traces in the same order), without reading a token. Where a
// run leaves the static path (an error, or an expression cut short by
// break), it puts the cursor where the text interpreter's would be and lets
// the text interpreter finish the construct.
#pragma once

#include "engine/engine.h"

namespace zun {

class EExecutor {
 public:
  explicit EExecutor(EZunScriptEngine& engine) : e(engine) {}
  // One expression (a statement at level 1), as EvaluateExpression would
  // evaluate it from n.start.
  EScriptValue Expr(const ENode& n);
  // The same, into acc (a new value).
  void Into(const ENode& n, EScriptValue& acc);
  // An operand into out (a new value), as Expr would make it.
  [[gnu::always_inline]] void Operand(const ENode& n, EScriptValue& out) {
    if (Leaf(n, out)) return;
    if (n.kind == NK_CALL && n.tail.empty() && !n.ownBrace) CallOperand(n, out);
    else Into(n, out);
  }
  // Every kind of expression, into acc (a new value).
  void General(const ENode& n, EScriptValue& acc);
  // An operand that is a leaf, into out, as Expr would make it; false to
  // take the long way (it is no leaf, or it names no variable).
  // (LeafValue's choice, written out: through it the operands of every
  // statement take 0.3 to 0.6 % more instructions.)
  bool Leaf(const ENode& n, EScriptValue& out) {
    if (!n.leaf) return false;
    if (n.kind != NK_VAR) {
      out.CopyFrom(n.value);
      return true;
    }
    EScriptObject* object = Lookup(n);
    if (!object) return false;
    out.CopyFrom(object->value);
    return true;
  }
  // A leaf's value where it is: the literal's, or the variable's; null for
  // a name no variable has.
  const EScriptValue* LeafValue(const ENode& n) {
    if (n.kind != NK_VAR) return &n.value;
    EScriptObject* object = Lookup(n);
    return object ? &object->value : nullptr;
  }

 private:
  // The primary part; false when the expression ends with it.
  using LValue = EZunScriptEngine::LValue;
  bool Primary(const ENode& n, EScriptValue& acc, LValue& lv);
  void Tail(const ENode& n, EScriptValue& acc, LValue& lv);
  bool Variable(const ENode& n, EScriptValue& acc, LValue& lv);
  // A directAssign node computing numbers or appending, into acc, as the
  // general way does it; false to take the general way.
  // (dropped: it runs as a block's statement whose value is dropped.)
  bool DirectAssign(const ENode& n, EScriptValue& acc, bool dropped = false);
  // DirectAssign's `$v op= number` on a variable that holds a number, and
  // its append of a number to a packed list; false, having changed nothing,
  // for anything else.
  bool NumberAssignHere(const ENode& n, EScriptValue& acc);
  // `$v op= operand` on a variable v that holds a number, as the operator
  // computes it (v keeps its payloads and name); false, changing nothing,
  // where the operand holds no number or the operator would report (an
  // integer division by zero).
  [[gnu::always_inline]] bool StepNumber(const ETailOp& t, EScriptValue& v) {
    ENumber right;
    if (!NumberOperand(*t.right, right)) return false;
    ENumber x = ENumber::Of(v);
    if (!NumberStep(t, x, right)) return false;
    v.type = x.type;
    v.nValue = x.nValue;
    return true;
  }
  // An assignment's value: a copy of the variable v, or (dropped) only the
  // name that the copy would leave it.
  static void StatementValue(EScriptValue& acc, const EScriptValue& v, bool dropped) {
    if (!dropped) acc.CopyFrom(v);
    else if (!v.name.empty()) acc.name = v.name;
  }
  // A directDeclaration, `var $x = operand`, into acc (a new value or one
  // that KeepNameOnly has emptied); false, having done nothing, to take the
  // general way.
  // (dropped: as DirectAssign's.)
  bool Declaration(const ENode& n, EScriptValue& acc, bool dropped);
  // `$v += x` appending x to the array or the string (x a string) that v
  // holds; false, changing nothing, for anything else.
  bool Append(const ETailOp& t, EScriptValue& v);
  // Append's `$list += number` of a bare number of a packed list's type,
  // appended as its number alone (what EScriptValue::Add does with its copy);
  // false, changing nothing, for anything else.
  [[gnu::always_inline]] bool AppendPacked(const ETailOp& t, EScriptValue& v) {
    int64_t bits;
    if (t.op != OP_ADD_ASSIGN || !v.IsArray() || !PackedOperand(*t.right, v.elements.PackedType(), bits)) return false;
    e.cursor.pos = t.right->end;
    v.elements.AddPacked(bits);
    return true;
  }
  // A directAssign assignment to an element in range of an array, into acc,
  // as the general way stores it; false to take the general way. acc is a
  // new value, or (keptName) one that KeepNameOnly has emptied.
  bool ElementStore(const ENode& n, EScriptValue& acc, bool keptName = false);
  // ElementStore's store of a bare number into a packed list (a number of
  // its type, with no name or payload); false, having changed nothing, for
  // anything else.
  bool PackedStoreHere(const ENode& n, EScriptValue& acc);
  // The store itself, of bits at i in range; acc as the general way leaves
  // it, whatever its name (it is not stored).
  void StorePacked(const ENode& n, EScriptValue& acc, EScriptValue& array, int64_t i, int64_t bits) {
    acc.KeepNameOnly();  // as CopyFrom(kPackedOrigin), whose number is replaced next
    acc.type = array.elements.PackedType();
    acc.nValue = bits;
    e.cursor.pos = n.tail[0].right->end;  // as ElementStore's general way
    array.elements.SetPacked(static_cast<int>(i), bits);
    if (n.ownBrace) e.bClosedBrace = true;
  }
  // The bits of a right operand (a leaf, or arithmetic) that a packed list
  // of `type` (0: none) holds as its number alone: a number of that type,
  // whose value would carry no name and no payload; false for anything else.
  bool PackedOperand(const ENode& r, int32_t type, int64_t& bits) {
    if (!type) return false;
    ENumber v;
    const EScriptValue* origin;
    if (r.leaf) {
      origin = LeafValue(r);
      if (!origin || !origin->IsNumber()) return false;
      v = ENumber::Of(*origin);
    } else if (!r.arithmetic || !Arithmetic(r, v, origin)) {
      return false;
    }
    bits = v.nValue;
    return v.type == type && IsBare(*origin);
  }
  // A directAssign node's right operand (a leaf, an element, or arithmetic
  // that computes), into out as Expr would make it; false to take the
  // general way.
  [[gnu::always_inline]] bool RightOperand(const ENode& r, EScriptValue& out) {
    if (Leaf(r, out)) return true;
    return r.element ? Element(r, out) : r.arithmetic && Computed(r, out);
  }
  // An element of any kind at a number index in range (`$words[$i % 6]`),
  // into out as Expr would make it: a copy; false to take the general way.
  // (Of a number, the same as Computed makes.)
  bool Element(const ENode& r, EScriptValue& out);  // r.element
  // An arithmetic node (see ENode::arithmetic) into acc (a new value), as
  // the general way makes it; false, having changed nothing a script can
  // see, to take the general way (an operand holds no number, an index is
  // out of range, a division by zero is to be reported).
  bool Computed(const ENode& n, EScriptValue& acc);
  // An arithmetic node's number, and the value whose payloads and name the
  // general way's result would carry: its first operand's. (Inline: the
  // hot path's; nested brackets and operands go through Arithmetic.)
  [[gnu::always_inline]] bool ArithmeticHere(const ENode& n, ENumber& out, const EScriptValue*& origin) {
    if (n.kind == NK_PAREN) {
      if (!Arithmetic(*n.a, out, origin)) return false;
    } else if (!NumberAt(n, out, origin)) {
      return false;
    }
    for (const ETailOp& t : n.tail) {
      ENumber right;
      if (!NumberOperand(*t.right, right) || !NumberStep(t, out, right)) return false;
    }
    return true;
  }
  bool Arithmetic(const ENode& n, ENumber& out, const EScriptValue*& origin);
  // One operator between two numbers, as ApplyOperator applies it; false
  // where it would report (a division or remainder by zero). Comparisons
  // and double arithmetic, the commonest, without a call.
  static bool NumberStep(const ETailOp& t, ENumber& out, const ENumber& right) {
    if (t.compareMask) {
      out.SetInt64((t.compareMask & NumberOutcome(out, right)) != 0);
      return true;
    }
    if (out.type == SEVT_DOUBLE && right.type == SEVT_DOUBLE && ApplyToDoubles(t.op, out.dValue, right.dValue))
      return true;
    return NumberOp(t.op, out, right);
  }
  // The rest of NumberStep, out of line.
  static bool NumberOp(EOperator op, ENumber& left, const ENumber& right);
  bool NumberOperand(const ENode& n, ENumber& out) {
    const EScriptValue* origin;
    if (n.kind == NK_PAREN || !n.tail.empty()) return Arithmetic(n, out, origin);
    return NumberAt(n, out, origin);
  }
  // The number that a number, a constant or a variable (with its index)
  // holds, read where it is, and the value it is in (origin, as
  // ArithmeticHere's); false when it holds no number.
  bool NumberAt(const ENode& n, ENumber& out, const EScriptValue*& origin) {
    const EScriptValue* v = &n.value;
    if (n.kind == NK_VAR) {
      EScriptObject* object = Lookup(n);
      if (!object) return false;
      if (n.a) {
        out = NumberElement(object->value, *n.a, origin);
        return out.type != 0;
      }
      v = &object->value;
    }
    if (!v->IsNumber()) return false;
    out = ENumber::Of(*v);
    origin = v;
    return true;
  }
  // NumberAt of the element of an array that a number index names; its
  // type is 0 when it holds no number. (By value: the caller's number then
  // stays in registers.)
  ENumber NumberElement(const EScriptValue& array, const ENode& index, const EScriptValue*& origin);
  // An arithmetic if's condition, decided without making its value; false
  // to take the general way. (Inline: the commonest condition, `$i < $n` or
  // `$a[$i] == 0`, compares two values where they are.)
  [[gnu::always_inline]] bool NumberCondition(const ENode& n, bool& holds) {
    if (!n.arithmetic || e.breakPending) return false;
    if (n.directComparison) {
      ENumber left, right;
      const EScriptValue* origin;
      if (NumberAt(n, left, origin) && NumberAt(*n.tail[0].right, right, origin)) {
        holds = (n.tail[0].compareMask & NumberOutcome(left, right)) != 0;
        return true;
      }
    } else if (n.directTruth) {
      ENumber v;
      const EScriptValue* origin;
      if (NumberAt(n, v, origin)) {
        holds = IsNonZero(v);
        return true;
      }
    }
    return ArithmeticCondition(n, holds);
  }
  bool ArithmeticCondition(const ENode& n, bool& holds);
  // ConditionHolds of a number.
  static bool IsNonZero(const ENumber& v) { return v.type == SEVT_DOUBLE ? v.dValue != 0.0 : v.nValue != 0; }
  // General for a call compared with an operand, which decides the
  // comparison without making its value when both sides hold numbers
  // (true); otherwise cond is what General makes.
  bool CallComparison(const ENode& n, EScriptValue& cond, bool& holds);
  // Each runs its construct into result: a new value, or one that
  // KeepNameOnly has emptied (its name then stays unless the construct's
  // value has one, as when a new value is moved in).
  void Block(const ENode& n, EScriptValue& result);
  // Block's body, inline in a loop's pass (Block is its call for a block
  // that stands alone).
  void BlockHere(const ENode& n, EScriptValue& result);
  // One statement of a block or a branch of an if into result: a compound
  // assignment, an if, a block and a loop write straight into it, which
  // gives the same value and name as moving Expr's result there.
  void Statement(const ENode& s, EScriptValue& result);
  void If(const ENode& n, EScriptValue& result);
  // If's body, inline in a block's statement (If is its call elsewhere).
  void IfHere(const ENode& n, EScriptValue& result);
  // Statement, out of line: an if's branch.
  void Branch(const ENode& n, EScriptValue& result);
  // An if's condition that NumberCondition leaves, as Expr makes it, into
  // holds; false when the run left the static path there (the text
  // interpreter has finished the if).
  bool Condition(const ENode& n, EScriptValue& result, bool& holds);
  void Repeat(const ENode& n, EScriptValue& result);
  // result: a new value, as Primary's.
  void Call(const ENode& n, EScriptValue& result);
  // Call's arguments onto the stack and the built-in's run; `first`, when
  // given, is the first argument as Operand has already read it.
  void Arguments(const ENode& n, EScriptValue& result, EScriptValue* first);
  // An intrinsic call of leaves and arithmetic (ENode::intrinsic).
  void PlainArguments(const ENode& n, EScriptValue& result);
  // The built-in's common case on the arguments read, or, where it declines
  // them, the call's long way (`first` as Arguments takes it).
  [[gnu::always_inline]] void Intrinsic(const ENode& n, const EScriptValue* const* args, int count,
                                        EScriptValue& result, EScriptValue* first) {
    e.cursor.pos = n.errorPos;  // where running out of memory, or a stop, in the built-in is reported
    if (!n.intrinsic(args, count, result)) return Arguments(n, result, first);
    Called(n, result);
  }
  // Primary's call: false when the expression ends with it (an error, or
  // the run left the static path and the operator loop has finished it).
  [[gnu::always_inline]] bool CallPrimary(const ENode& n, EScriptValue& acc, LValue& lv) {
    Call(n, acc);
    if (e.IsError()) return false;
    if (!e.bOffTrack) return true;
    e.OperatorLoop(acc, lv, n.minLevel);
    return false;
  }
  // The trace of a call whose built-in ran.
  void Called(const ENode& n, EScriptValue& result) {
    if (e.TraceShown()) e.Trace(u"Function:" + n.name + u" returned:" + result.GetInfo());
  }
  // A call with nothing after it, as General and Primary run it.
  void CallOperand(const ENode& n, EScriptValue& out);
  // Passes over a statement that does not run.
  void Skip(const ENode& n);
  // The object a variable's name stands for, or null.
  EScriptObject* Lookup(const ENode& n) {
    ENameSlot& slot = *n.slot;
    if (slot.boundGeneration != slot.generation) Bind(n);
    return slot.bound;
  }
  void Bind(const ENode& n);

  EZunScriptEngine& e;
};

}  // namespace zun
