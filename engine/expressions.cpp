// The expression evaluator of the text interpreter: precedence climbing
// over tokens read on demand. The executor of the compiled form takes up
// its pieces (the operator loop, an index after its ']') where a run leaves
// the compiled path.
#include "engine/engine.h"

namespace zun {

const EScriptValue* EZunScriptEngine::ResolveVariableReference(const u16& name, bool& outOfRange, bool& created) {
  return ResolveReference(FindObject(name, true), name, outOfRange, created, nullptr);
}

const EScriptValue* EZunScriptEngine::ResolveReference(EScriptObject* object, const u16& name, bool& outOfRange,
                                                       bool& created, LValue* lv) {
  outOfRange = false;
  created = false;
  if (!object) {
    ReportError(u"Unknown variable:" + name);
    return nullptr;
  }
  int32_t save = cursor.pos;
  const ELexedToken& bracket = Lex();
  if (!bracket.Is(OP_OPEN_BRACKET)) {
    cursor.pos = save;
    if (lv) *lv = {object, -1};
    return &object->value;
  }
  EScriptValue index = EvaluateExpression(1);
  const ELexedToken& close = Lex();
  if (!close.Is(OP_CLOSE_BRACKET)) {
    ReportError("] expected");
    return nullptr;
  }
  return ResolveIndex(*object, name, index, outOfRange, created, lv);
}

const EScriptValue* EZunScriptEngine::ResolveIndex(EScriptObject& object, const u16& name, const EScriptValue& index,
                                                   bool& outOfRange, bool& created, LValue* lv) {
  EScriptValue& array = object.value;  // as the index expression left it
  if (array.type != SEVT_ARRAY) ReportError(name + u": is not an array");
  if (index.IsNumber()) {
    // The full 64-bit reading is compared, so a huge index never wraps
    // around into a valid position.
    int64_t n = index.AsInt64();
    const EScriptValue* element = array.GetElementAt(n);
    if (!element) {
      outOfRange = true;
      return nullptr;
    }
    if (lv) *lv = {&object, static_cast<int>(n)};
    return element;
  }
  if (index.type == SEVT_STRING) {
    int i = array.GetOrAddElementIndexByName(index.strValue, created);
    if (i < 0) {
      ReportError("Unknown error while adding a new variable to an associative array");
      return nullptr;
    }
    if (lv) *lv = {&object, i};
    return &array.elements[i];
  }
  ReportError("Wrong variable type used as an index for array");
  return nullptr;
}

bool EZunScriptEngine::StoreThrough(const LValue& lv, const EScriptValue& v) {
  if (!lv.object) return false;
  if (lv.element < 0) {
    lv.object->value.CopyFrom(v);
    return true;
  }
  // Resolved again now: the right operand may have resized the array.
  return lv.object->value.SetElementAt(lv.element, v);
}

bool EZunScriptEngine::AppendInPlace(const LValue& lv, EScriptValue& acc, const EScriptValue& right) {
  // Appending cannot fail for these two (the caller checks), so the target
  // may change first.
  if (!lv.object) return false;
  EScriptValue& variable = lv.object->value;
  const EScriptValue* target = lv.element < 0 ? &variable : variable.GetElementAt(lv.element);
  if (!target || !target->IsSameCopyAs(acc)) return false;
  acc.KeepNameOnly();  // the target is now the only holder of its payload
  EScriptValue& changed = lv.element < 0 ? variable : variable.elements.EditAt(lv.element);
  changed.Add(right);
  acc.CopyFrom(changed);
  return true;
}

bool EZunScriptEngine::Declare(EScriptValue& acc, LValue& lvalue) {
  const ELexedToken& nameTok = Lex();
  if (nameTok.kind != SETK_VAR) {
    ReportError("Variable name expected");
    return false;
  }
  EText name = nameTok.text;
  int32_t bracketStart = cursor.pos;
  // The array form skips to the next ']', which stays unread.
  bool isArray = Lex().text == u"[";
  if (isArray) cursor.FindChar(u']');
  else cursor.pos = bracketStart;
  Declared(name, nullptr, isArray, acc, lvalue);
  return true;
}

void EZunScriptEngine::Declared(const EText& name, ENameSlot* slot, bool isArray, EScriptValue& acc, LValue& lvalue) {
  if (scopes.empty()) return;
  EScriptObject* stored = scopes.back().Find(name);
  if (stored) {
    ReportError(u"Variable already declared: " + name);
    // Made anew, as a new object is; the value's name stays.
    EScriptValue fresh;
    if (isArray) fresh.type = SEVT_ARRAY;
    stored->value.CopyFrom(fresh);
  } else {
    stored = NewObjectInScope(name, slot);
    if (isArray) stored->value.type = SEVT_ARRAY;
  }
  stored->kind = SEO_VAR;
  acc.CopyFrom(stored->value);
  lvalue = {stored, -1};
}

bool EZunScriptEngine::ApplyTailOp(EOperator op, const EOperatorInfo& info, EScriptValue& acc, const LValue& lv,
                                   const EScriptValue& right) {
  // Between doubles no append happens.
  bool appendable = op == OP_ADD_ASSIGN && (acc.IsArray() || (acc.type == SEVT_STRING && right.type == SEVT_STRING));
  if (appendable && AppendInPlace(lv, acc, right)) return true;
  if (!ApplyOperator(op, acc, right)) {
    ReportError("kse oper failed");
    return false;
  }
  if (info.assigns && !StoreThrough(lv, acc)) {
    ReportError("left value expected");
    return false;
  }
  return true;
}

EScriptValue EZunScriptEngine::EvaluateExpression(int minLevel) {
  EScriptValue acc;
  NestingGuard nesting(*this);
  if (!nesting.ok()) return acc;
  LValue lvalue;

  // Tokens that report an error are not cached and live only until the next
  // read: what is needed of one is taken before reading on.
  const ELexedToken& first = Lex();
  switch (first.kind) {
    case SETK_OPERATOR: {
      EOperator op = first.op;
      if (op == OP_SEMICOLON || op == OP_CLOSE_BRACE || op == OP_COMMA) {
        if (op == OP_CLOSE_BRACE) bClosedBrace = true;
        return acc;
      }
      const EOperatorInfo& info = OperatorInfo(op);
      if (info.unaryLevel) {
        EScriptValue operand = EvaluateExpression(info.unaryLevel);
        acc.SetInt64(0);
        if (!ApplyOperator(op, acc, operand)) ReportError("kse oper failed");
        return acc;
      }
      if (op == OP_OPEN_PAREN) {
        acc = EvaluateExpression(1);
        const ELexedToken& close = Lex();
        if (!close.Is(OP_CLOSE_PAREN)) ReportError(") Expected");
      } else if (op == OP_OPEN_BRACE) {
        acc = ExecuteScope();
        return acc;
      } else if (info.needsLeftValue) {
        ReportError(u16(info.text) + u" not expected here, no lvalue");
      }
      break;
    }
    case SETK_NUMBER: acc.SetDouble(first.number); break;
    case SETK_STRING:
      acc.type = SEVT_STRING;
      acc.strValue = first.text;
      break;
    case SETK_VAR: {
      EText name = first.text;
      bool outOfRange = false, created = false;
      const EScriptValue* p = ResolveReference(FindObject(name, true), name, outOfRange, created, &lvalue);
      if (!p) {
        ReportError(u"No such variable declared, or index out of bounds:" + name);
        return acc;
      }
      acc.CopyFrom(*p);
      break;
    }
    case SETK_WORD: {
      if (first.keyword == KW_VAR) {
        if (!Declare(acc, lvalue) || IsError()) return acc;
        break;
      }
      if (first.keyword != KW_NONE && RunKeyword(first.keyword, acc)) return acc;
      if (ConstantOf(first, acc)) break;
      acc = CallWord(first);
      if (IsError()) return acc;
      break;
    }
    default: break;
  }
  OperatorLoop(acc, lvalue, minLevel);
  return acc;
}

void EZunScriptEngine::OperatorLoop(EScriptValue& acc, LValue& lvalue, int minLevel) {
  for (;;) {
    int32_t opStart = cursor.pos;
    const ELexedToken& token = Lex();
    if (IsError()) return;
    if (token.kind == SETK_END) return;
    if (token.kind != SETK_OPERATOR) {
      ReportError("something's wrong, some operator expected");
      return;
    }
    EOperator op = token.op;
    if (op == OP_SEMICOLON || op == OP_CLOSE_BRACE) {
      if (op == OP_CLOSE_BRACE) bClosedBrace = true;
      return;
    }
    const EOperatorInfo& info = OperatorInfo(op);
    if (info.level == 0 || info.level < minLevel) {
      cursor.pos = opStart;
      return;
    }
    EScriptValue right = EvaluateExpression(info.rightLevel);
    if (!ApplyTailOp(op, info, acc, lvalue, right) || TailEnds()) return;
  }
}

}  // namespace zun
