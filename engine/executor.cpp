// The executor of the compiled form. Each function mirrors one function of
// the text interpreter (named beside it) in the same order of steps; the
// cursor is not moved while a run stays on the static path, and is put
// where the text interpreter's would be before anything that reports.
#include "engine/executor.h"

#include "engine/call_context.h"
#include "engine/compiler.h"
#include "platform/system.h"

namespace zun {

namespace {
// What an element of a packed list would be as a value, but for its type
// and number: no name, no payload.
const EScriptValue kPackedOrigin{};
}  // namespace

ENode* EZunScriptEngine::StatementAt(int32_t pos) {
#ifdef ZUN_TEXT_ONLY
  // The reference build of tools/engine-diff: the text interpreter alone.
  (void)pos;
  return nullptr;
#endif
  bool known = false;
  ENode* s = code.At(pos, known);
  if (!known) {
    int32_t save = cursor.pos;
    cursor.pos = pos;
    bQuietLex = true;
    s = ECompiler(*this, code, ECompiler::kCompile).Statement();
    bQuietLex = false;
    bLexFailed = false;
    cursor.pos = save;
    code.Remember(pos, s);
  }
  // Deeper than the nesting limit allows from here: the text interpreter
  // reports where it stops.
  return s && nNesting + s->depth <= kMaxNesting ? s : nullptr;
}

EScriptValue EZunScriptEngine::RunStatement() {
  // After an error only the text interpreter runs: a statement then reads
  // its first part and stops, as it always has.
  ENode* s = bError ? nullptr : StatementAt(cursor.pos);
  if (!s) return EvaluateExpression(1);
  bOffTrack = false;
  EScriptValue v = executor->Expr(*s);
  if (!Derailed()) cursor.pos = s->end;
  bOffTrack = false;
  return v;
}

// EvaluateExpression.
EScriptValue EExecutor::Expr(const ENode& n) {
  EScriptValue acc;
  Into(n, acc);
  return acc;
}

void EExecutor::Into(const ENode& n, EScriptValue& acc) {
  if (n.directAssign && DirectAssign(n, acc)) return;
  if (n.arithmetic && !e.breakPending) {
    if (Computed(n, acc)) return;
    n.arithmetic = false;  // it met something else than numbers: not tried again
  }
  if (n.kind == NK_IF) {  // a keyword statement ends with itself
    ++e.nNesting;
    If(n, acc);
    --e.nNesting;
    return;
  }
  General(n, acc);
}

// (Inline in a block's statements: `$i += 1` is the commonest statement of
// a loop. Anything else goes to DirectAssign, which reads it again.)
[[gnu::always_inline]] inline bool EExecutor::NumberAssignHere(const ENode& n, EScriptValue& acc) {
  const ETailOp& t = n.tail[0];
  if (t.op == OP_ASSIGN || e.breakPending) return false;
  EScriptObject* object = Lookup(n);
  if (!object) return false;
  EScriptValue& v = object->value;
  if (v.IsNumber() ? !StepNumber(t, v) : !AppendPacked(t, v)) return false;
  StatementValue(acc, v, n.valueDropped);
  if (n.ownBrace) e.bClosedBrace = true;
  return true;
}

// (Inline in a block's statements: `$flags[$j] = 0` in a loop. Anything
// else goes to ElementStore, which reads it again.)
[[gnu::always_inline]] inline bool EExecutor::PackedStoreHere(const ENode& n, EScriptValue& acc) {
  if (e.breakPending) return false;
  EScriptObject* object = Lookup(n);
  if (!object) return false;
  EScriptValue& array = object->value;
  int32_t type = array.IsArray() ? array.elements.PackedType() : 0;
  ENumber index;
  int64_t bits;
  if (!type || !NumberOperand(*n.a, index)) return false;
  int64_t i = index.AsInt64();  // as ResolveIndex reads it
  if (!array.HasElementAt(i) || !PackedOperand(*n.tail[0].right, type, bits)) return false;
  StorePacked(n, acc, array, i, bits);
  return true;
}

[[gnu::always_inline]] inline void EExecutor::Statement(const ENode& s, EScriptValue& result) {
  if (s.directAssign) {
    if (!s.a) {
      if (NumberAssignHere(s, result) || DirectAssign(s, result, s.valueDropped)) return;
    } else if (PackedStoreHere(s, result) || ElementStore(s, result, true)) {
      return;
    }
  }
  // Each nests as Expr runs it (a block and a loop through General).
  switch (s.kind) {
    case NK_IF:
      ++e.nNesting;
      IfHere(s, result);
      --e.nNesting;
      return;
    case NK_BLOCK:
      ++e.nNesting;
      Block(s, result);
      --e.nNesting;
      return;
    case NK_REPEAT:
      ++e.nNesting;
      Repeat(s, result);
      --e.nNesting;
      return;
    case NK_DECLARE:
      if (s.directDeclaration && Declaration(s, result, s.valueDropped)) return;
      [[fallthrough]];
    default:
      // result, emptied by the block, is a new value unless it kept a name.
      if (result.name.HasBody()) result = Expr(s);
      else Into(s, result);
      return;
  }
}

void EExecutor::General(const ENode& n, EScriptValue& acc) {
  ++e.nNesting;  // its nesting guard: the statement's depth fits the limit
  LValue lv;
  bool more;
  EScriptObject* object;
  if (n.kind == NK_VAR && !n.a && (object = Lookup(n)) != nullptr) {  // the commonest primary, inline
    lv = {object, -1};
    acc.CopyFrom(object->value);
    more = true;
  } else {
    more = Primary(n, acc, lv);
  }
  if (more) {
    if (!n.tail.empty()) Tail(n, acc, lv);
    else if (n.ownBrace) e.bClosedBrace = true;
  }
  --e.nNesting;
}

// EvaluateExpression's first token; false when the expression ends there.
bool EExecutor::Primary(const ENode& n, EScriptValue& acc, LValue& lv) {
  switch (n.kind) {
    case NK_EMPTY:
      if (n.ownBrace) e.bClosedBrace = true;
      return false;
    case NK_NOTHING: return true;
    case NK_NUMBER:
    case NK_STRING:
    case NK_CONST: acc.CopyFrom(n.value); return true;
    case NK_VAR: return Variable(n, acc, lv);
    case NK_UNARY: {
      EScriptValue operand;
      Into(*n.a, operand);
      acc.SetInt64(0);
      if (!e.Derailed()) e.cursor.pos = n.errorPos;
      if (!e.ApplyOperator(n.op, acc, operand)) e.ReportError("kse oper failed");
      return false;
    }
    case NK_PAREN:
      acc = Expr(*n.a);
      if (e.Derailed()) {
        if (!e.Lex().Is(OP_CLOSE_PAREN)) e.ReportError(") Expected");
        e.OperatorLoop(acc, lv, n.minLevel);
        e.bOffTrack = true;
        return false;
      }
      return true;
    case NK_BLOCK: Block(n, acc); return false;
    case NK_DECLARE:
      e.cursor.pos = n.errorPos;
      e.Declared(n.name, n.slot, n.isArray, acc, lv);
      return !e.IsError();
    case NK_IF: If(n, acc); return false;
    case NK_REPEAT: Repeat(n, acc); return false;
    case NK_BREAK: e.breakPending = true; return false;
    case NK_CALL: return CallPrimary(n, acc, lv);
  }
  return false;
}

bool EExecutor::DirectAssign(const ENode& n, EScriptValue& acc, bool dropped) {
  if (n.a) return ElementStore(n, acc);
  // A pending break cuts the right operand short after its first operator,
  // which the general way does.
  if (e.breakPending) return false;
  EScriptObject* object = Lookup(n);
  if (!object) return false;
  // What the general way makes: acc a copy of the variable with the
  // operator applied, stored back.
  EScriptValue& v = object->value;
  const ETailOp& t = n.tail[0];
  if (t.op == OP_ASSIGN) {
    // As Assign: the right operand's type and payloads, and its name when it
    // has one. A leaf's value is all that its copy would carry.
    if (t.right->leaf) {
      const EScriptValue* right = LeafValue(*t.right);
      if (!right) return false;
      v.CopyFrom(*right);
    } else {
      EScriptValue right;
      if (!RightOperand(*t.right, right)) return false;
      v.CopyFrom(right);
    }
  } else if (v.IsNumber()) {  // the variable keeps its payloads and name
    if (!StepNumber(t, v)) return false;
  } else if (!Append(t, v)) {
    return false;
  }
  StatementValue(acc, v, dropped);
  if (n.ownBrace) e.bClosedBrace = true;
  return true;
}

bool EExecutor::Declaration(const ENode& n, EScriptValue& acc, bool dropped) {
  if (e.breakPending) return false;
  // As General, Primary and Tail run it, into a new value: what acc then
  // takes is what Expr's value would give it.
  EScriptValue value;
  LValue lv;
  bool stored = false;  // value has gone into the variable
  ++e.nNesting;
  e.cursor.pos = n.errorPos;
  e.Declared(n.name, n.slot, n.isArray, value, lv);
  if (!e.IsError()) {  // a second declaration of the name ends the statement there
    // Read after the declaration, which may be of a name the value reads.
    // ApplyTailOp's `=` on the new variable's value, without its dispatch
    // (it costs branches 2.6 % in instructions). That value has no name and
    // no payload, so the right operand made into it is what the assignment
    // would make of it.
    const ENode& r = *n.tail[0].right;
    if (!RightOperand(r, value)) {
      Tail(n, value, lv);
    } else {
      e.cursor.pos = r.end;  // where the assignment's reports point
      if (!lv.object) {      // (else lv is the new variable itself)
        e.ReportError("left value expected");
      } else {
        if (dropped) {
          // The statement's value is emptied next but for its name: the
          // variable takes the value itself, and acc its name alone.
          StatementValue(acc, value, true);
          lv.object->value = std::move(value);
          stored = true;
        } else {
          lv.object->value.CopyFrom(value);
        }
        if (n.ownBrace) e.bClosedBrace = true;
      }
    }
  }
  --e.nNesting;
  if (!stored) acc = std::move(value);
  return true;
}

bool EExecutor::Append(const ETailOp& t, EScriptValue& v) {
  if (t.op != OP_ADD_ASSIGN || !(v.IsArray() || v.type == SEVT_STRING)) return false;
  if (AppendPacked(t, v)) return true;
  const ENode& r = *t.right;
  EScriptValue right;
  if (!RightOperand(r, right)) return false;
  if (!v.IsArray() && right.type != SEVT_STRING) return false;
  // As AppendInPlace changes the variable: its copy in acc is let go first,
  // so the variable is the only holder of what it appends to. Running out
  // of memory is reported where the operator's reports point.
  e.cursor.pos = r.end;
  v.Add(right);
  return true;
}

bool EExecutor::ElementStore(const ENode& n, EScriptValue& acc, bool keptName) {
  if (e.breakPending) return false;
  EScriptObject* object = Lookup(n);
  if (!object || !object->value.IsArray()) return false;
  ENumber index;
  if (!NumberOperand(*n.a, index)) return false;
  int64_t i = index.AsInt64();  // as ResolveIndex reads it
  EScriptValue& array = object->value;
  if (!array.HasElementAt(i)) return false;
  const ENode& r = *n.tail[0].right;
  // A bare number of a packed list's type stored as its number alone; acc
  // as the general way below leaves it (whatever its name: it is not
  // stored).
  int64_t bits;
  if (PackedOperand(r, array.elements.PackedType(), bits)) {
    StorePacked(n, acc, array, i, bits);
    return true;
  }
  EScriptValue right;
  if (!RightOperand(r, right)) return false;
  // The general way: a new value a copy of the element, assigned the right
  // operand (its name kept unless the right one has a name), stored back.
  // Of an element of a packed list only its type and number differ from
  // kPackedOrigin, and the right operand's replace them: it is not read.
  EScriptValue fresh;
  EScriptValue& stored = keptName ? fresh : acc;
  if (array.elements.PackedType()) stored.CopyFrom(kPackedOrigin);
  else stored.CopyFrom(array.elements[static_cast<int>(i)]);
  stored.CopyFrom(right);
  e.cursor.pos = r.end;  // where running out of memory in the store is reported
  array.SetElementAt(i, stored);
  if (keptName) acc = std::move(fresh);
  if (n.ownBrace) e.bClosedBrace = true;
  return true;
}

bool EExecutor::Element(const ENode& r, EScriptValue& out) {
  if (!r.a->leaf && !r.a->arithmetic) return false;
  EScriptObject* object = Lookup(r);
  if (!object || !object->value.IsArray()) return false;
  ENumber index;
  if (!NumberOperand(*r.a, index)) return false;
  int64_t i = index.AsInt64();  // as ResolveIndex reads it
  if (!object->value.HasElementAt(i)) return false;
  const EElements& list = object->value.elements;
  if (int32_t type = list.PackedType()) out.CopyFrom(EScriptValue::Number(type, list.PackedAt(static_cast<int>(i))));
  else out.CopyFrom(list[static_cast<int>(i)]);
  return true;
}

bool EExecutor::Computed(const ENode& n, EScriptValue& acc) {
  ENumber v;
  const EScriptValue* origin;
  if (!ArithmeticHere(n, v, origin)) return false;
  acc.CopyFrom(*origin);
  acc.type = v.type;
  acc.nValue = v.nValue;
  return true;
}

bool EExecutor::Arithmetic(const ENode& n, ENumber& out, const EScriptValue*& origin) {
  return ArithmeticHere(n, out, origin);
}

bool EExecutor::NumberOp(EOperator op, ENumber& left, const ENumber& right) {
  if (op != OP_REMAINDER) return ApplyToNumberPair(op, left, right);  // false: an integer division by zero
  // Remainder's reading of two numbers; by zero it reports.
  int64_t b = right.AsInt64();
  if (b == 0) return false;
  left.SetInt64(RemainderOf(left.AsInt64(), b));
  return true;
}

ENumber EExecutor::NumberElement(const EScriptValue& array, const ENode& index, const EScriptValue*& origin) {
  // As ResolveIndex reads a number index; anything else goes there.
  ENumber i, out;
  out.type = 0;
  if (!NumberOperand(index, i) || !array.IsArray()) return out;
  if (!array.elements.NumberAt(i.AsInt64(), out.type, out.nValue, origin)) {
    out.type = 0;
    return out;
  }
  if (!origin) origin = &kPackedOrigin;
  return out;
}

bool EExecutor::ArithmeticCondition(const ENode& n, bool& holds) {
  ENumber v;
  const EScriptValue* origin;
  if (!ArithmeticHere(n, v, origin)) {
    n.arithmetic = false;  // as in Expr
    return false;
  }
  holds = IsNonZero(v);
  return true;
}

void EExecutor::Bind(const ENode& n) {
  n.slot->bound = e.FindObject(n.name, true);
  n.slot->boundGeneration = n.slot->generation;
}

// EvaluateExpression's variable and ResolveReference.
bool EExecutor::Variable(const ENode& n, EScriptValue& acc, LValue& lv) {
  EScriptObject* object = Lookup(n);
  if (!object) {
    e.cursor.pos = n.errorPos;
    e.ReportError(u"Unknown variable:" + n.name);
    e.ReportError(u"No such variable declared, or index out of bounds:" + n.name);
    return false;
  }
  if (!n.a) {
    lv = {object, -1};
    acc.CopyFrom(object->value);
    return true;
  }
  EScriptValue index;
  Operand(*n.a, index);
  bool derailed = e.Derailed(), outOfRange = false, created = false;
  const EScriptValue* p = nullptr;
  if (!derailed) {
    e.cursor.pos = n.tailPos;  // after ']'
    p = e.ResolveIndex(*object, n.name, index, outOfRange, created, &lv);
  } else if (e.Lex().Is(OP_CLOSE_BRACKET)) {
    p = e.ResolveIndex(*object, n.name, index, outOfRange, created, &lv);
  } else {
    e.ReportError("] expected");
  }
  if (!p) {
    e.ReportError(u"No such variable declared, or index out of bounds:" + n.name);
    return false;
  }
  acc.CopyFrom(*p);
  if (derailed) {
    e.OperatorLoop(acc, lv, n.minLevel);
    e.bOffTrack = true;
    return false;
  }
  return true;
}

// EvaluateExpression's operator loop.
void EExecutor::Tail(const ENode& n, EScriptValue& acc, LValue& lv) {
  size_t count = n.tail.size();
  for (size_t k = 0; k < count; ++k) {
    const ETailOp& t = n.tail[k];
    EScriptValue right;
    Operand(*t.right, right);
    if (e.Derailed()) {
      if (e.ApplyTailOp(t.op, *t.info, acc, lv, right) && !e.TailEnds()) e.OperatorLoop(acc, lv, n.minLevel);
      e.bOffTrack = true;
      return;
    }
    e.cursor.pos = t.right->end;  // where the operator's reports point
    if (!e.ApplyTailOp(t.op, *t.info, acc, lv, right)) return;
    // A pending break ends the expression after any operator but one the
    // statement's terminator has just ended; the rest is read as statements.
    if (e.breakPending && !(k + 1 == count && n.endsAfterOperand)) {
      e.bOffTrack = true;
      return;
    }
  }
  if (n.ownBrace) e.bClosedBrace = true;
}

// ExecuteScope and its block loop.
void EExecutor::Block(const ENode& n, EScriptValue& result) { BlockHere(n, result); }

// (Inline in Repeat: a loop runs it on every pass.)
[[gnu::always_inline]] inline void EExecutor::BlockHere(const ENode& n, EScriptValue& result) {
  ++e.nNesting;
  e.Trace("entering scope");
  if (n.declares) e.PushScope();
  for (auto it = n.list.begin();; ++it) {
    if (it == n.list.end()) {
      if (n.braceAlone) result.KeepNameOnly();  // the block's own '}', as an empty statement
      break;
    }
    const ENode* s = *it;
    result.KeepNameOnly();      // the last value shares nothing while the next statement runs
    if (s->kind == NK_EMPTY) {  // ';' or '}' alone: an empty value, which KeepNameOnly has made
      if (s->ownBrace) break;   // the block's own '}'
      continue;
    }
    Statement(*s, result);
    if (e.Derailed()) {
      if (e.bClosedBrace) e.bClosedBrace = false;
      else if (!e.IsFinished()) e.BlockLoop(result);
      e.bOffTrack = true;
      break;
    }
    if (e.bClosedBrace) {  // this statement consumed the block's own '}'
      e.bClosedBrace = false;
      break;
    }
  }
  e.Trace("leaving scope");
  if (n.declares) e.PopScope();
  --e.nNesting;
}

// RunKeyword's if.
void EExecutor::If(const ENode& n, EScriptValue& result) { IfHere(n, result); }

void EExecutor::Branch(const ENode& n, EScriptValue& result) { Statement(n, result); }

// (Inline in Condition, its one caller.)
[[gnu::always_inline]] inline bool EExecutor::CallComparison(const ENode& n, EScriptValue& cond, bool& holds) {
  ++e.nNesting;
  LValue lv;
  bool decided = false;
  if (CallPrimary(n, cond, lv)) {  // Primary's call, without its dispatch
    // Tail's one step, when the right operand is a number where it is and
    // nothing is pending that would end the expression after it.
    const ETailOp& t = n.tail[0];
    ENumber right;
    const EScriptValue* origin;
    if (cond.IsNumber() && !e.breakPending && NumberAt(*t.right, right, origin)) {
      e.cursor.pos = t.right->end;
      holds = (t.compareMask & NumberOutcome(cond, right)) != 0;
      decided = true;
    } else {
      Tail(n, cond, lv);
    }
  }
  --e.nNesting;
  return decided;
}

bool EExecutor::Condition(const ENode& n, EScriptValue& result, bool& holds) {
  EScriptValue cond;
  bool decided = false;
  if (n.a->callComparison) decided = CallComparison(*n.a, cond, holds);
  else Into(*n.a, cond);  // as Expr
  if (decided) return true;
  if (e.Derailed()) {
    e.IfAfterCondition(cond, result);
    e.bOffTrack = true;
    return false;
  }
  holds = e.ConditionHolds(cond);
  return true;
}

// (Inline in a block's statements; its branches are calls.)
[[gnu::always_inline]] inline void EExecutor::IfHere(const ENode& n, EScriptValue& result) {
  bool holds;
  if (!NumberCondition(*n.a, holds) && !Condition(n, result, holds)) return;
  if (holds) {
    Branch(*n.b, result);
  } else {
    Skip(*n.b);
  }
  if (e.Derailed()) {
    if (!e.IsError()) e.IfElsePart(holds, result);
    e.bOffTrack = true;
    return;
  }
  if (!n.hasElse) return;
  if (!holds) Branch(*n.c, result);
  else Skip(*n.c);
}

// OmitNextStatementOrScope for a statement read before.
void EExecutor::Skip(const ENode& n) {
  if (e.nNesting + n.depth > EZunScriptEngine::kMaxNesting) {
    e.cursor.pos = n.start;
    e.OmitNextStatementOrScope();  // read as text, to report where the nesting stops it
    e.bOffTrack = true;
    return;
  }
  if (n.closes) e.bClosedBrace = true;
}

// RunKeyword's repeat.
void EExecutor::Repeat(const ENode& n, EScriptValue& result) {
  for (;;) {
    // The last pass's value shares nothing while the next runs. The pass
    // runs into result itself: each of its statements' values replaces
    // result's as it would replace a new value's, so the last pass's value
    // and name come out the same.
    result.KeepNameOnly();
    BlockHere(n, result);
    // Wherever a pass ended, the next starts at the body again.
    if (!e.Derailed()) e.cursor.pos = n.errorPos;
    e.bOffTrack = false;
    e.Trace(" repeating");
    if (platform::IsPauseAndControlHeld()) {
      e.ReportError("pause pressed:exiting");
      return;
    }
    if (e.breakPending || e.IsError()) {
      e.Trace("repeating: break found or error");
      e.breakPending = false;
      if (e.IsError()) {
        e.cursor.pos = n.tailPos;
        e.OmitNextStatementOrScope();
      }
      return;
    }
  }
}

void EExecutor::CallOperand(const ENode& n, EScriptValue& out) {
  ++e.nNesting;
  LValue lv;
  CallPrimary(n, out, lv);
  --e.nNesting;
}

// CallWord.
void EExecutor::Call(const ENode& n, EScriptValue& result) {
  if (!n.intrinsic) return Arguments(n, result, nullptr);
  if (n.list.size() > 1) return PlainArguments(n, result);
  // The one argument where it is (a variable's value, a literal), or read
  // as the call would read it first.
  const ENode& a = *n.list[0];
  if (a.leaf) {
    const EScriptValue* arg = LeafValue(a);
    if (!arg) return Arguments(n, result, nullptr);
    return Intrinsic(n, &arg, 1, result, nullptr);
  }
  EScriptValue read;
  Operand(a, read);
  if (e.Derailed()) return Arguments(n, result, &read);
  const EScriptValue* arg = &read;
  Intrinsic(n, &arg, 1, result, &read);
}

void EExecutor::PlainArguments(const ENode& n, EScriptValue& result) {
  // Where they are (a variable's value, a literal) or computed: reading
  // them changes nothing, so where one gives no value here, or the built-in
  // declines them, the call reads them all again.
  const EScriptValue* args[kMaxIntrinsicArgs];
  EScriptValue computed[kMaxIntrinsicArgs];
  int count = static_cast<int>(n.list.size());
  for (int i = 0; i < count; ++i) {
    const ENode& a = *n.list[i];
    if (a.leaf) args[i] = LeafValue(a);
    else args[i] = a.arithmetic && !e.breakPending && Computed(a, computed[i]) ? &computed[i] : nullptr;
    if (!args[i]) return Arguments(n, result, nullptr);
  }
  Intrinsic(n, args, count, result, nullptr);
}

void EExecutor::Arguments(const ENode& n, EScriptValue& result, EScriptValue* first) {
  EArgumentFrame frame(e.argStack);
  bool derailed = false;
  int count = 0;  // frame.Count(), without the division
  for (const ENode* argNode : n.list) {
    // A leaf pushes no arguments of its own while it is read: it can go
    // straight into its place on the stack.
    bool placed = !first && argNode->leaf && Leaf(*argNode, frame.PushNew());
    if (!placed) {
      if (!first && argNode->leaf) frame.DropLast();
      EScriptValue arg;
      if (first) arg = std::move(*first);
      else Operand(*argNode, arg);
      first = nullptr;
      if (e.Derailed()) {
        if (!e.ReadArguments(frame, &arg)) return;
        derailed = true;
        break;
      }
      frame.Push(std::move(arg));
    }
    // A call with a huge argument list still ends soon when the run is asked to stop.
    if (++count % 4096 == 0 && platform::IsPauseAndControlHeld()) {
      e.cursor.pos = argNode->end;
      e.ReportError("pause pressed:exiting");
      return;
    }
  }
  if (!derailed) e.cursor.pos = n.errorPos;  // after ')', where the call's reports point
  e.CallInto(n.name, n.builtin, frame.Args(), result);
  Called(n, result);
  e.bOffTrack = e.bOffTrack || derailed;
}

}  // namespace zun
