// The expression evaluator: precedence climbing over tokens read on demand.
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
  EScriptValue index;
  if (!SimpleOperand(1, index)) index = EvaluateExpression(1);
  const ELexedToken& close = Lex();
  if (!close.Is(OP_CLOSE_BRACKET)) {
    ReportError("] expected");
    return nullptr;
  }
  EScriptValue& array = object->value;  // as the index expression left it
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
    if (lv) *lv = {object, static_cast<int>(n)};
    return element;
  }
  if (index.type == SEVT_STRING) {
    int i = array.GetOrAddElementIndexByName(index.strValue, created);
    if (i < 0) {
      ReportError("Unknown error while adding a new variable to an associative array");
      return nullptr;
    }
    if (lv) *lv = {object, i};
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

bool EZunScriptEngine::SimpleOperand(int level, EScriptValue& out) {
  // What EvaluateExpression(level) does for a literal or an unindexed
  // variable followed by a token that ends the operand, all read before: the
  // primary is the value, a terminator is consumed and any other token stays
  // unread.
  const ELexedToken* primary = tokenCache.Find(cursor.pos);
  if (!primary || bError || nNesting >= kMaxNesting) return false;
  int32_t kind = primary->kind;
  if (kind != SETK_NUMBER && kind != SETK_STRING && kind != SETK_VAR) return false;
  const ELexedToken* after = tokenCache.Find(primary->end);
  if (!after || after->kind != SETK_OPERATOR) return false;
  EOperator op = after->op;
  bool terminator = op == OP_SEMICOLON || op == OP_CLOSE_BRACE;
  int takenFrom = OperatorInfo(op).level;
  if (!terminator && takenFrom != 0 && takenFrom >= level) return false;
  if (kind == SETK_VAR) {
    if (op == OP_OPEN_BRACKET) return false;
    const EScriptObject* object = FindVariable(*primary);
    if (!object) return false;
    out.CopyFrom(object->value);
  } else if (kind == SETK_NUMBER) {
    out.SetDouble(primary->number);
  } else {
    out.type = SEVT_STRING;
    out.strValue = primary->text;
  }
  cursor.pos = terminator ? after->end : primary->end;
  if (op == OP_CLOSE_BRACE) bClosedBrace = true;
  return true;
}

bool EZunScriptEngine::ReadSimpleForm(SimpleForm& form) {
  if (bError || nNesting + 1 >= kMaxNesting) return false;
  form.target = tokenCache.Find(cursor.pos);
  if (!form.target || form.target->kind != SETK_VAR) return false;
  form.op = tokenCache.Find(form.target->end);
  if (!form.op) return false;
  form.operand = tokenCache.Find(form.op->end);
  if (!form.operand || (form.operand->kind != SETK_NUMBER && form.operand->kind != SETK_VAR)) return false;
  form.after = tokenCache.Find(form.operand->end);
  return form.after != nullptr;
}

EScriptObject* EZunScriptEngine::DoubleTarget(const SimpleForm& form, double& operand) {
  EScriptObject* object = FindVariable(*form.target);
  if (!object || object->value.type != SEVT_DOUBLE) return nullptr;
  operand = form.operand->number;
  if (form.operand->kind == SETK_VAR) {
    const EScriptObject* source = FindVariable(*form.operand);
    if (!source || source->value.type != SEVT_DOUBLE) return nullptr;
    operand = source->value.dValue;
  }
  return object;
}

bool EZunScriptEngine::SimpleStatement(EScriptValue& result) {
  SimpleForm form;
  if (!ReadSimpleForm(form) || !form.after->Is(OP_SEMICOLON)) return false;
  EOperator op = form.op->op;
  if (op != OP_ADD_ASSIGN && op != OP_SUB_ASSIGN && op != OP_MUL_ASSIGN && op != OP_DIV_ASSIGN) return false;
  double right = 0;
  EScriptObject* object = DoubleTarget(form, right);
  if (!object) return false;
  // The copies the long way makes, so that names follow as they would.
  EScriptValue acc;
  acc.CopyFrom(object->value);
  ApplyToDoubles(op, acc.dValue, right);
  object->value.CopyFrom(acc);
  cursor.pos = form.after->end;
  result = std::move(acc);
  return true;
}

bool EZunScriptEngine::SimpleComparison(EScriptValue& result) {
  SimpleForm form;
  if (!ReadSimpleForm(form) || !form.after->Is(OP_CLOSE_PAREN)) return false;
  EOperator op = form.op->op;
  if (op < OP_LESS || op > OP_NOT_EQUAL) return false;  // every other token has another identity
  double right = 0;
  EScriptObject* object = DoubleTarget(form, right);
  if (!object) return false;
  EScriptValue acc, rightValue;
  acc.CopyFrom(object->value);
  rightValue.SetDouble(right);
  ApplyOperator(op, acc, rightValue);  // between doubles a comparison cannot fail
  cursor.pos = form.operand->end;
  result = std::move(acc);
  return true;
}

bool EZunScriptEngine::Declare(EScriptValue& acc, LValue& lvalue) {
  const ELexedToken& nameTok = Lex();
  if (nameTok.kind != SETK_VAR) {
    ReportError("Variable name expected");
    return false;
  }
  EScriptObject object;
  object.kind = SEO_VAR;
  object.name = nameTok.text;
  int32_t bracketStart = cursor.pos;
  // The array form skips to the next ']', which stays unread.
  bool isArray = Lex().text == u"[";
  if (isArray) cursor.FindChar(u']');
  else cursor.pos = bracketStart;
  if (isArray) object.value.type = SEVT_ARRAY;
  if (FindObject(object.name, false)) ReportError(u"Variable already declared: " + object.name);
  if (EScriptObject* stored = SetOrAddObject(object, false)) {
    acc.CopyFrom(stored->value);
    lvalue = {stored, -1};
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
    case SETK_NUMBER:
      acc.SetDouble(first.number);
      break;
    case SETK_STRING:
      acc.type = SEVT_STRING;
      acc.strValue = first.text;
      break;
    case SETK_VAR: {
      EScriptObject* object = FindVariable(first);
      const ELexedToken* next = tokenCache.Find(cursor.pos);
      if (object && next && !next->Is(OP_OPEN_BRACKET)) {
        // No index: what ResolveReference finds after reading the next token
        // and putting it back.
        lvalue = {object, -1};
        acc.CopyFrom(object->value);
        break;
      }
      bool outOfRange = false, created = false;
      const EScriptValue* p = ResolveReference(object, first.text, outOfRange, created, &lvalue);
      if (!p) {
        ReportError(u"No such variable declared, or index out of bounds:" + first.text);
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
    default:
      break;
  }

  for (;;) {
    int32_t opStart = cursor.pos;
    const ELexedToken& token = Lex();
    if (IsError()) return acc;
    if (token.kind == SETK_END) return acc;
    if (token.kind != SETK_OPERATOR) {
      ReportError("something's wrong, some operator expected");
      return acc;
    }
    EOperator op = token.op;
    if (op == OP_SEMICOLON || op == OP_CLOSE_BRACE) {
      if (op == OP_CLOSE_BRACE) bClosedBrace = true;
      return acc;
    }
    const EOperatorInfo& info = OperatorInfo(op);
    if (info.level == 0 || info.level < minLevel) {
      cursor.pos = opStart;
      return acc;
    }
    EScriptValue right;
    if (!SimpleOperand(info.rightLevel, right)) right = EvaluateExpression(info.rightLevel);
    bool appendable = acc.IsArray() || (acc.type == SEVT_STRING && right.type == SEVT_STRING);
    if (!(op == OP_ADD_ASSIGN && appendable && AppendInPlace(lvalue, acc, right))) {
      if (!ApplyOperator(op, acc, right)) {
        ReportError("kse oper failed");
        return acc;
      }
      if (info.assigns && !StoreThrough(lvalue, acc)) {
        ReportError("left value expected");
        return acc;
      }
    }
    char16_t before = cursor.At(cursor.pos - 1);
    if (before == u';' || before == u'}' || before == u',') return acc;
    if (IsError() || breakPending) return acc;
  }
}

}  // namespace zun
