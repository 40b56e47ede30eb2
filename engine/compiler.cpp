// The compiler: one reading of a statement, as running it would read it.
// Each function below reads what one function of the text interpreter reads
// (EvaluateExpression, its operator loop, ExecuteScope, the keyword
// statements, a variable's index, a declaration, a call's arguments).
#include "engine/compiler.h"

#include "engine/engine.h"

namespace zun {

ECompiler::ECompiler(EZunScriptEngine& engine, ECompiledCode& store, Mode m) : e(engine), code(store), mode(m) {}

const ELexedToken& ECompiler::Next() {
  e.bLexFailed = false;
  const ELexedToken& t = e.Lex();
  // Compiling reads quietly: a token that does not lex is the text
  // interpreter's to report, when it gets there.
  if (e.bLexFailed || e.IsError()) bStopped = true;
  return t;
}

ENode* ECompiler::Fail(const u16& message) {
  Problem(message);
  return nullptr;
}

bool ECompiler::Problem(const u16& message) {
  if (bStopped) return false;
  if (mode == kCheck) e.ReportError(message);
  bStopped = true;
  bBroken = true;
  return false;
}

bool ECompiler::Enter() {
  ++nDepth;
  // Skipping and checking count the depth as a run does, and report it too.
  bool ok = mode == kCompile ? nDepth <= EZunScriptEngine::kMaxNesting : e.EnterNesting();
  if (!ok) bStopped = true;
  return ok;
}

void ECompiler::Leave() {
  --nDepth;
  if (mode != kCompile) e.LeaveNesting();
}

void ECompiler::Deepen(ENode* n, const ENode* child, int extra) {
  if (child && child->depth + 1 + extra > n->depth) n->depth = child->depth + 1 + extra;
  if (child) n->closes = n->closes || child->closes;
  // A declaration belongs to the nearest block around it.
  bool ownScope = child && (child->kind == NK_BLOCK || child->kind == NK_REPEAT);
  if (child && !ownScope) n->declares = n->declares || child->declares || child->kind == NK_DECLARE;
}

bool ECompiler::Optional(EOperator op) {
  int32_t save = e.cursor.pos;
  const ELexedToken& t = Next();
  if (bStopped) return false;
  if (!t.Is(op)) e.cursor.pos = save;
  return true;
}

// EvaluateExpression(minLevel).
ENode* ECompiler::Expr(int minLevel) {
  Depth depth(*this);
  if (!depth.ok) return nullptr;
  ENode* n = code.New();
  n->minLevel = static_cast<int8_t>(minLevel);
  n->start = e.cursor.pos;
  const ELexedToken& first = Next();
  if (bStopped) return nullptr;
  bool tail = true;
  switch (first.kind) {
    case SETK_OPERATOR: {
      EOperator op = first.op;
      if (op == OP_SEMICOLON || op == OP_CLOSE_BRACE || op == OP_COMMA) {
        n->kind = NK_EMPTY;
        n->op = op;
        n->ownBrace = n->closes = op == OP_CLOSE_BRACE;
        tail = false;
        break;
      }
      const EOperatorInfo& info = OperatorInfo(op);
      if (info.unaryLevel) {
        n->kind = NK_UNARY;
        n->op = op;
        n->a = Expr(info.unaryLevel);
        if (!n->a) return nullptr;
        Deepen(n, n->a);
        n->errorPos = e.cursor.pos;
        tail = false;
      } else if (op == OP_OPEN_PAREN) {
        n->kind = NK_PAREN;
        n->a = Expr(1);
        if (!n->a) return nullptr;
        Deepen(n, n->a);
        if (!Next().Is(OP_CLOSE_PAREN)) return Fail(u") Expected");
      } else if (op == OP_OPEN_BRACE) {
        n->kind = NK_BLOCK;
        if (!Block(n, e.cursor.pos - 1)) return nullptr;
        tail = false;
      } else if (info.needsLeftValue) {
        return Fail(u16(info.text) + u" not expected here, no lvalue");
      }
      break;
    }
    case SETK_NUMBER:
      n->kind = NK_NUMBER;
      n->value.SetDouble(first.number);
      break;
    case SETK_STRING:
      n->kind = NK_STRING;
      n->value.type = SEVT_STRING;
      n->value.strValue = first.text;
      break;
    case SETK_VAR:
      n->kind = NK_VAR;
      n->name = first.text;
      n->slot = e.SlotOf(first.text);
      n->errorPos = e.cursor.pos;
      if (!Index(n)) return nullptr;
      break;
    case SETK_WORD: {
      if (first.keyword == KW_VAR) {
        n->kind = NK_DECLARE;
        if (!Declaration(n)) return nullptr;
        break;
      }
      if (first.keyword == KW_IF || first.keyword == KW_REPEAT || first.keyword == KW_BREAK) {
        if (!Keyword(n, first.keyword)) return nullptr;
        tail = false;
        break;
      }
      if (e.GetConstantValue(first.text, n->value)) {
        n->kind = NK_CONST;
        break;
      }
      // A run calls `else` as a function; a check names the mistake.
      if (first.keyword == KW_ELSE && mode == kCheck) return Fail(u"else without if");
      n->kind = NK_CALL;
      n->name = first.text;
      if (!Call(n)) return nullptr;
      break;
    }
    default: break;  // the end of the text: nothing, then the operator loop ends too
  }
  if (tail) {
    n->tailPos = e.cursor.pos;
    if (!Tail(n, minLevel)) return nullptr;
  }
  n->end = e.cursor.pos;
  n->leaf = n->tail.empty() && !n->ownBrace &&
            (n->kind == NK_NUMBER || n->kind == NK_STRING || n->kind == NK_CONST || (n->kind == NK_VAR && !n->a));
  n->element = n->tail.empty() && !n->ownBrace && n->kind == NK_VAR && n->a;
  n->arithmetic = IsArithmetic(*n);
  bool oneComparison = n->tail.size() == 1 && n->tail[0].compareMask && n->tail[0].right->kind != NK_PAREN &&
                       n->tail[0].right->tail.empty();
  n->directComparison = oneComparison && n->arithmetic && n->kind != NK_PAREN;
  n->callComparison = oneComparison && n->kind == NK_CALL && !n->ownBrace;
  n->directTruth = n->arithmetic && n->kind == NK_VAR && n->tail.empty();
  if ((n->kind == NK_VAR || n->kind == NK_DECLARE) && n->tail.size() == 1) {
    EOperator op = n->tail[0].op;
    const ENode* right = n->tail[0].right;
    bool operand = right->leaf || right->arithmetic;  // what RightOperand and NumberOperand read
    if (n->kind == NK_DECLARE) n->directDeclaration = op == OP_ASSIGN;
    else
      n->directAssign =
          operand && (n->a ? n->a->arithmetic && op == OP_ASSIGN : op >= OP_ASSIGN && op <= OP_DIV_ASSIGN);
  }
  // Every expression read at level 1 is a statement in its own right: the
  // text interpreter may ask for it by its position.
  if (mode == kCompile && minLevel == 1) code.RememberIfNew(n->start, n);
  return n;
}

bool ECompiler::IsArithmetic(const ENode& n) {
  // A '}' consumed inside makes the block end, which the general way tells.
  if (n.ownBrace) return false;
  bool primary = n.kind == NK_NUMBER || (n.kind == NK_CONST && n.value.IsNumber()) ||
                 (n.kind == NK_VAR && (!n.a || n.a->arithmetic)) || (n.kind == NK_PAREN && n.a->arithmetic);
  if (!primary) return false;
  for (const ETailOp& t : n.tail)
    if (t.op < OP_LESS || t.op > OP_REMAINDER || !t.right->arithmetic) return false;
  return true;
}

// The operator loop of EvaluateExpression.
bool ECompiler::Tail(ENode* n, int minLevel) {
  for (;;) {
    int32_t opStart = e.cursor.pos;
    const ELexedToken& token = Next();
    if (bStopped) return false;
    if (token.kind == SETK_END) return true;
    if (token.kind != SETK_OPERATOR) return Problem(u"something's wrong, some operator expected");
    EOperator op = token.op;
    if (op == OP_SEMICOLON || op == OP_CLOSE_BRACE) {
      if (op == OP_CLOSE_BRACE) n->ownBrace = n->closes = true;
      return true;
    }
    const EOperatorInfo& info = OperatorInfo(op);
    if (info.level == 0 || info.level < minLevel) {
      e.cursor.pos = opStart;
      return true;
    }
    ENode* right = Expr(info.rightLevel);
    if (!right) return false;
    n->tail.push_back({op, CompareMask(op), &info, right});
    Deepen(n, right);
    char16_t before = e.cursor.At(e.cursor.pos - 1);
    if (before == u';' || before == u'}' || before == u',') {
      n->endsAfterOperand = true;
      return true;
    }
  }
}

// The statements of a block whose '{' has been read (what ExecuteScope
// runs), into n->list.
bool ECompiler::Block(ENode* n, int32_t openPos) {
  Depth depth(*this);
  if (!depth.ok) return false;
  bool closes = n->closes;  // a '}' inside is the block's own, not its surroundings'
  for (;;) {
    ENode* s = Expr(1);
    if (!s) return false;
    n->list.push_back(s);
    Deepen(n, s, 1);
    if (s->closes) break;
    if (e.IsAtEnd()) {
      int line = 0, column = 0;
      EZunScriptEngine::LineAndColumn(e.strScript, openPos, line, column);
      // A run ends such a block at the end of the text; only a check says so.
      if (mode == kCheck &&
          !Problem(u"} expected for the { at line " + Int64ToString(line) + u", column " + Int64ToString(column)))
        return false;
      break;
    }
  }
  // The block's own '}' alone is not run as a statement (see braceAlone).
  if (!n->list.empty() && n->list.back()->kind == NK_EMPTY && n->list.back()->ownBrace) {
    n->list.pop_back();
    n->braceAlone = true;
  }
  for (size_t k = 0; k < n->list.size(); ++k) n->list[k]->valueDropped = k + 1 < n->list.size() || n->braceAlone;
  n->closes = closes;
  return true;
}

bool ECompiler::Keyword(ENode* n, EKeyword keyword) {
  switch (keyword) {
    case KW_IF: {
      n->kind = NK_IF;
      // Without '(' a run reports the error and reads the condition anyway.
      if (!Next().Is(OP_OPEN_PAREN)) return Problem(u"#0 ( expected");
      n->a = Expr(1);
      if (!n->a) return false;
      Deepen(n, n->a);
      if (!Next().Is(OP_CLOSE_PAREN)) return Problem(u") expected");
      n->b = Expr(1);
      if (!n->b) return false;
      Deepen(n, n->b);
      int32_t save = e.cursor.pos;
      const ELexedToken& next = Next();
      if (bStopped) return false;
      n->hasElse = next.kind == SETK_WORD && next.keyword == KW_ELSE;
      if (!n->hasElse) {
        e.cursor.pos = save;
        return true;
      }
      n->c = Expr(1);
      if (!n->c) return false;
      Deepen(n, n->c);
      return true;
    }
    case KW_REPEAT: {
      n->kind = NK_REPEAT;
      n->tailPos = e.cursor.pos;  // the loop's start, where its skip begins
      if (!Next().Is(OP_OPEN_BRACE)) return Problem(u"#1 { expected");
      // The body is a block of its own: a '}' it consumes is its own.
      if (!Block(n, e.cursor.pos - 1)) return false;
      n->errorPos = e.cursor.pos;
      return Optional(OP_SEMICOLON);
    }
    default: n->kind = NK_BREAK; return Optional(OP_SEMICOLON);
  }
}

// After `$name`: its index, when '[' follows.
bool ECompiler::Index(ENode* n) {
  int32_t save = e.cursor.pos;
  const ELexedToken& bracket = Next();
  if (bStopped) return false;
  if (!bracket.Is(OP_OPEN_BRACKET)) {
    e.cursor.pos = save;
    return true;
  }
  n->a = Expr(1);
  if (!n->a) return false;
  Deepen(n, n->a);
  if (!Next().Is(OP_CLOSE_BRACKET)) return Problem(u"] expected");
  return true;
}

// `var $name` or `var $name[...]`: the array form moves to the next ']',
// which stays unread, as the declaration does.
bool ECompiler::Declaration(ENode* n) {
  const ELexedToken& nameTok = Next();
  if (bStopped) return false;
  if (nameTok.kind != SETK_VAR) return Problem(u"Variable name expected");
  n->name = nameTok.text;
  n->slot = e.SlotOf(nameTok.text);
  int32_t bracketStart = e.cursor.pos;
  n->isArray = Next().text == u"[";
  if (bStopped) return false;
  if (n->isArray) e.cursor.FindChar(u']');
  else e.cursor.pos = bracketStart;
  n->errorPos = e.cursor.pos;
  return true;
}

// `name(arguments)` after the name; the argument rule is the call's own: a
// ',' or ')' must follow an argument right at the cursor.
bool ECompiler::Call(ENode* n) {
  if (!Next().Is(OP_OPEN_PAREN)) return Problem(u"#4 ( expected");
  int32_t save = e.cursor.pos;
  if (!Next().Is(OP_CLOSE_PAREN)) {
    if (bStopped) return false;
    e.cursor.pos = save;
    for (;;) {
      ENode* arg = Expr(1);
      if (!arg) return false;
      n->list.push_back(arg);
      Deepen(n, arg);
      char16_t next = e.cursor.Current();
      if (!e.IsAtEnd() && next == u',') {
        Next();
        continue;
      }
      if (!e.IsAtEnd() && next == u')') {
        Next();
        break;
      }
      return Problem(u") expected");
    }
  }
  if (bStopped) return false;
  n->errorPos = e.cursor.pos;
  n->builtin = e.pBuiltinLookup ? e.pBuiltinLookup(n->name) : nullptr;
  // One argument of any kind, or up to three that reading cannot change
  // anything with (EExecutor::Call).
  bool plain = n->list.size() <= kMaxIntrinsicArgs;
  for (const ENode* a : n->list) plain = plain && (a->leaf || a->arithmetic);
  if (n->builtin && e.pIntrinsicLookup && (n->list.size() == 1 || (plain && !n->list.empty())))
    n->intrinsic = e.pIntrinsicLookup(n->name);
  if (mode == kCheck && !n->builtin) return Problem(u"'" + n->name + u"' function not found");
  return true;
}

}  // namespace zun
