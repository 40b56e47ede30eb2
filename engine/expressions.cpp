// The expression evaluator: precedence climbing over tokens read on demand.
#include "engine/engine.h"

namespace zun {

namespace {

struct BinaryOperator {
  u16view text;  // a view, so that a comparison checks the length first
  int level;       // taken when minLevel <= level
  int rightLevel;  // the level its right operand is evaluated at
  bool assigns;    // stores the result through the left value
};

const BinaryOperator kBinaryOperators[] = {
    {u"=", 1, 1, true},    {u"+=", 1, 2, true},   {u"-=", 1, 2, true},  {u"*=", 1, 2, true},
    {u"/=", 1, 2, true},   {u"&=", 1, 2, true},   {u"|=", 1, 2, true},  {u"&&", 2, 3, false},
    {u"||", 2, 3, false},  {u"&", 3, 4, false},   {u"|", 3, 4, false},  {u"<", 4, 5, false},
    {u"<=", 4, 5, false},  {u">", 4, 5, false},   {u">=", 4, 5, false}, {u"==", 4, 5, false},
    {u"!=", 4, 5, false},  {u"-", 5, 6, false},   {u"+", 5, 6, false},  {u"*", 6, 7, false},
    {u"/", 6, 7, false},   {u"%", 6, 7, false},
};

const BinaryOperator* FindBinaryOperator(const u16& text) {
  for (const auto& op : kBinaryOperators)
    if (text == op.text) return &op;
  return nullptr;
}

// Unary operators and the level their operand is evaluated at.
int UnaryOperandLevel(const u16& text) {
  if (text.size() != 1) return 0;
  switch (text[0]) {
    case u'-': return 6;
    case u'!': return 5;
    case u'+': return 1;
    default: return 0;
  }
}

bool StartsWithoutLvalue(const u16& text) {
  static const u16view kTokens[] = {u"*", u"/", u"&&", u"||", u"&", u"|", u"="};
  for (u16view t : kTokens)
    if (text == t) return true;
  return false;
}

}  // namespace

EScriptValue* EZunScriptEngine::ResolveVariableReference(const u16& name, bool& outOfRange, bool& created) {
  return ResolveReference(name, outOfRange, created, nullptr);
}

EScriptValue* EZunScriptEngine::ResolveReference(const u16& name, bool& outOfRange, bool& created, LValue* lv) {
  outOfRange = false;
  created = false;
  EScriptObject* object = FindObject(name, true);
  if (!object) {
    ReportError(u"Unknown variable:" + name);
    return nullptr;
  }
  int32_t save = cursor.pos;
  if (!ReadToken().IsOperator(u"[")) {
    cursor.pos = save;
    if (lv) *lv = {object, -1};
    return &object->value;
  }
  EScriptValue index = EvaluateExpression(1);
  if (!ReadToken().IsOperator(u"]")) {
    ReportError("] expected");
    return nullptr;
  }
  EScriptValue& array = object->value;  // as the index expression left it
  if (array.type != SEVT_ARRAY) ReportError(name + u": is not an array");
  if (index.IsNumber()) {
    // The full 64-bit reading is compared, so a huge index never wraps
    // around into a valid position.
    int64_t n = index.AsInt64();
    EScriptValue* element = array.GetElementAt(n);
    if (!element) {
      outOfRange = true;
      return nullptr;
    }
    if (lv) *lv = {object, static_cast<int>(n)};
    return element;
  }
  if (index.type == SEVT_STRING) {
    EScriptValue* element = array.GetOrAddElementByName(index.strValue, created);
    if (!element) {
      ReportError("Unknown error while adding a new variable to an associative array");
      return nullptr;
    }
    if (lv) *lv = {object, static_cast<int>(element - array.elements.begin())};
    return element;
  }
  ReportError("Wrong variable type used as an index for array");
  return nullptr;
}

EScriptValue* EZunScriptEngine::ResolveLValue(const LValue& lv) {
  if (!lv.object) return nullptr;
  if (lv.element < 0) return &lv.object->value;
  return lv.object->value.GetElementAt(lv.element);
}

EScriptValue EZunScriptEngine::EvaluateExpression(int minLevel) {
  EScriptValue acc;
  NestingGuard nesting(*this);
  if (!nesting.ok()) return acc;
  LValue lvalue;

  EScriptToken first = ReadToken();
  switch (first.kind) {
    case SETK_OPERATOR: {
      const u16& t = first.text;
      if (t == u";" || t == u"}" || t == u",") {
        if (t == u"}") bClosedBrace = true;
        return acc;
      }
      if (int level = UnaryOperandLevel(t)) {
        EScriptValue operand = EvaluateExpression(level);
        acc.SetInt64(0);
        if (!ApplyBinaryOperator(acc, operand, t)) ReportError("kse oper failed");
        return acc;
      }
      if (t == u"(") {
        EScriptValue inner = EvaluateExpression(1);
        if (!ReadToken().IsOperator(u")")) ReportError(") Expected");
        acc = std::move(inner);
      } else if (t == u"{") {
        acc = ExecuteScope();
        return acc;
      } else if (StartsWithoutLvalue(t)) {
        ReportError(t + u" not expected here, no lvalue");
      }
      break;
    }
    case SETK_NUMBER:
      acc.SetDouble(ReadDoublePrefix(first.text));
      break;
    case SETK_STRING:
      acc.SetString(std::move(first.text));
      break;
    case SETK_VAR: {
      bool outOfRange = false, created = false;
      EScriptValue* p = ResolveReference(first.text, outOfRange, created, &lvalue);
      if (!p) {
        ReportError(u"No such variable declared, or index out of bounds:" + first.text);
        return acc;
      }
      acc.CopyFrom(*p);
      break;
    }
    case SETK_WORD: {
      const u16& word = first.text;
      if (word == u"var") {
        EScriptToken nameTok = ReadToken();
        if (nameTok.kind != SETK_VAR) {
          ReportError("Variable name expected");
          return acc;
        }
        EScriptToken bracket = ReadToken();
        bool isArray = bracket.text == u"[";
        // The array form skips to the next ']', which stays unread.
        if (isArray) cursor.FindChar(u']');
        else cursor.pos = bracket.startPos;
        EScriptObject object;
        object.kind = SEO_VAR;
        object.name = nameTok.text;
        if (isArray) object.value.type = SEVT_ARRAY;
        if (FindObject(object.name, false)) ReportError(u"Variable already declared: " + object.name);
        if (EScriptObject* stored = SetOrAddObject(object, false)) {
          acc.CopyFrom(stored->value);
          lvalue = {stored, -1};
        }
        if (IsError()) return acc;
        break;
      }
      if (ExecuteKeyword(word, acc)) return acc;
      if (GetConstantValue(word, acc)) break;
      acc = EvaluateFunctionCall(word);
      if (IsError()) return acc;
      break;
    }
    default:
      break;
  }

  for (;;) {
    EScriptToken op = ReadToken();
    if (IsError()) return acc;
    if (op.kind == SETK_OPERATOR && (op.text == u";" || op.text == u"}")) {
      if (op.text == u"}") bClosedBrace = true;
      return acc;
    }
    if (op.kind == SETK_END) return acc;
    if (op.kind != SETK_OPERATOR) {
      ReportError("something's wrong, some operator expected");
      return acc;
    }
    const BinaryOperator* bin = FindBinaryOperator(op.text);
    if (!bin || bin->level < minLevel) {
      cursor.pos = op.startPos;
      return acc;
    }
    EScriptValue right = EvaluateExpression(bin->rightLevel);
    if (!ApplyBinaryOperator(acc, right, op.text)) {
      ReportError("kse oper failed");
      return acc;
    }
    if (bin->assigns) {
      // Resolved again now: the right operand may have resized the array.
      EScriptValue* target = ResolveLValue(lvalue);
      if (!target) {
        ReportError("left value expected");
        return acc;
      }
      target->CopyFrom(acc);
    }
    char16_t before = cursor.At(cursor.pos - 1);
    if (before == u';' || before == u'}' || before == u',') return acc;
    if (IsError() || breakPending) return acc;
  }
}

}  // namespace zun
