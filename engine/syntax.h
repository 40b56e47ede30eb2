// The compiled form of a statement: a tree that records, for every call the
// text interpreter would make, what it would read and where its reading
// would end, so that later passes run without reading tokens.
//
// A tree rather than bytecode: each node stands for one evaluation of the
// text interpreter (an expression at a binding level, a block, a keyword
// statement), so the executor can mirror it step for step, report an error
// at the very position the text would, and hand the rest of a construct to
// the text interpreter wherever a run leaves the static path (an error, or
// an expression cut short by `break`).
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/lexer.h"
#include "engine/scope.h"
#include "engine/value.h"

namespace zun {

constexpr size_t kMaxIntrinsicArgs = 3;

struct ENode;

enum ENodeKind : uint8_t {
  NK_EMPTY,    // ';', '}' or ',' where an expression starts: an empty value
  NK_NOTHING,  // no token (the end of the text) or an operator with no role there
  NK_UNARY,    // - ! + and its operand
  NK_PAREN,    // ( expression )
  NK_BLOCK,    // { statements }
  NK_NUMBER,
  NK_STRING,
  NK_VAR,      // $name, with one index when `a` is set
  NK_DECLARE,  // var $name, var $name[...]
  NK_IF,
  NK_REPEAT,
  NK_BREAK,
  NK_CONST,
  NK_CALL,
};

// One operator that an expression's operator loop applies, and its right
// operand.
struct ETailOp {
  EOperator op;
  // A comparison: the outcomes it holds for (1 less, 2 equal, 4 greater, a
  // NaN comparing as greater); 0 for any other operator.
  uint8_t compareMask;
  const EOperatorInfo* info;
  ENode* right;
};

struct ENode {
  ENodeKind kind = NK_NOTHING;
  EOperator op = OP_NONE;         // NK_UNARY: the operator
  int8_t minLevel = 1;            // the binding level the expression is read at
  bool closes = false;            // it consumes a '}' that ends the block it stands in
  bool ownBrace = false;          // that '}' is its own terminator (not a part's)
  bool endsAfterOperand = false;  // the operator loop ends after its last operand
  bool isArray = false;           // NK_DECLARE: var $name[...]
  bool hasElse = false;           // NK_IF
  bool leaf = false;              // a literal, constant or unindexed variable alone
  bool element = false;           // a variable at an index alone
  // NK_BLOCK, NK_REPEAT: a statement of the block itself declares a
  // variable. A block that declares none needs no scope of its own: an empty
  // scope changes no lookup and shows in no report.
  bool declares = false;
  // NK_BLOCK, NK_REPEAT: the block's own '}' stands alone after its last
  // statement. It is not in `list`: a run that reaches it empties the
  // block's value, as an empty statement would.
  bool braceAlone = false;
  // A statement of a block before another, which starts by emptying the
  // block's value but for its name: run as the block's statement, only that
  // name need be made of its value.
  bool valueDropped = false;
  // An assignment (= += -= *= /=) to an unindexed variable of a leaf
  // or an arithmetic right operand (`$i += 1`, `$s += $a[$k] * 2`, `$list
  // += $x`), or an assignment to an element at an arithmetic index of such
  // an operand (`$a[$j + 1] = $t`): the executor runs it without the
  // operator loop while it computes numbers or appends to an array or a
  // string.
  bool directAssign = false;
  // A declaration with a value (`var $r = $i % 16`), as a statement of a
  // block: run without the operator loop while the value is such an operand.
  bool directDeclaration = false;
  // Numbers, variables (indexed by such an expression too) and brackets of
  // such, joined by arithmetic and comparisons (`$a[$j + 1] * 2 > $n % 7`):
  // while every operand holds a number, the executor computes it from the
  // operands where they are, without the operator loop. Cleared when a run
  // finds it otherwise: a statement that met a string once likely will again.
  mutable bool arithmetic = false;
  // Arithmetic that is one comparison of two operands without operators of
  // their own (`$i < $n`, `$a[$j] > $a[$j + 1]`), the commonest condition:
  // decided where the two values are.
  bool directComparison = false;
  // Arithmetic that is a variable alone, or its element (`$flags[$i]`): as a
  // condition, decided where the number is.
  bool directTruth = false;
  // A call compared with such an operand (`strlen($s) > 5`): decided where
  // the two values are when the call gives a number.
  bool callComparison = false;
  int32_t start = 0;  // the cursor before it
  int32_t end = 0;    // the cursor after it, when it runs to its end
  // Where its own errors are reported: NK_VAR after the name (or after ']'),
  // NK_DECLARE after the declaration, NK_CALL after ')', NK_REPEAT after the
  // body, NK_UNARY after the operand.
  int32_t errorPos = 0;
  int32_t tailPos = 0;  // where the operator loop starts; NK_REPEAT: after the word
  int depth = 1;        // how deep running it nests
  EScriptValue value;   // NK_NUMBER, NK_STRING, NK_CONST
  EText name;           // NK_VAR, NK_DECLARE, NK_CALL: as written
  ENameSlot* slot = nullptr;
  BuiltinFn builtin = nullptr;  // NK_CALL
  // NK_CALL with one argument, or with leaves and arithmetic for up to
  // kMaxIntrinsicArgs: its built-in's common case, when it has one.
  IntrinsicFn intrinsic = nullptr;
  ENode* a = nullptr;        // NK_UNARY operand, NK_PAREN inner, NK_VAR index, NK_IF condition
  ENode* b = nullptr;        // NK_IF branch
  ENode* c = nullptr;        // NK_IF else branch
  std::vector<ENode*> list;  // NK_BLOCK and NK_REPEAT statements, NK_CALL arguments
  std::vector<ETailOp> tail;
};

// The compiled statements of a script, by the position each starts at.
class ECompiledCode {
 public:
  ENode* New() {
    nodes.emplace_back();
    return &nodes.back();
  }
  // The statement compiled at pos; `known` tells whether pos was tried.
  ENode* At(int32_t pos, bool& known) const {
    auto it = statements.find(pos);
    known = it != statements.end();
    return known ? it->second : nullptr;
  }
  void Remember(int32_t pos, ENode* statement) { statements[pos] = statement; }
  void RememberIfNew(int32_t pos, ENode* statement) { statements.emplace(pos, statement); }
  void Clear() {
    statements.clear();
    nodes.clear();
  }

 private:
  std::deque<ENode> nodes;  // a deque: nodes never move
  std::unordered_map<int32_t, ENode*> statements;
};

}  // namespace zun
