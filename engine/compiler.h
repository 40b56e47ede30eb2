// The compiler: reads a statement the way running it would read it, and
// evaluates nothing. Three uses share the one reading, so that they cannot
// drift apart:
//   compiling  the tree of a statement (engine/syntax.h), quietly: a
//              statement with a lexical or structural error is not compiled
//              (the text interpreter runs it and reports the error when it
//              gets there);
//   skipping   passes over a statement that does not run, reporting a
//              lexical error where it stands; it stops where a run would
//              fail on the structure (Broken() tells), and the caller skips
//              the statement by its brackets instead;
//   checking   `zunrunc --check`: reports the first lexical or structural
//              error a run would meet, with nothing run.
#pragma once

#include "engine/syntax.h"

namespace zun {

class EZunScriptEngine;

class ECompiler {
 public:
  enum Mode { kCompile, kSkip, kCheck };
  ECompiler(EZunScriptEngine& engine, ECompiledCode& code, Mode mode);

  // Reads one statement (one expression at level 1) from the cursor, which
  // ends where running it would end. Null when the reading stopped: a
  // statement that cannot be compiled, or an error was reported.
  ENode* Statement() { return Expr(1); }
  // The reading stopped where a run would fail on the structure.
  bool Broken() const { return bBroken; }

 private:
  ENode* Expr(int minLevel);
  bool Tail(ENode* n, int minLevel);
  // Whether a node read to its end is arithmetic (see ENode::arithmetic).
  static bool IsArithmetic(const ENode& n);
  bool Block(ENode* n, int32_t openPos);
  bool Keyword(ENode* n, EKeyword keyword);
  bool Index(ENode* n);
  bool Declaration(ENode* n);
  bool Call(ENode* n);
  bool Optional(EOperator op);
  // A place where a run would report `message`: the reading stops (a
  // check reports it). Always false; Fail gives null.
  bool Problem(const u16& message);
  ENode* Fail(const u16& message);
  const ELexedToken& Next();
  bool Enter();
  void Leave();
  // One level of nesting for as long as it lives; ok says whether the
  // limit allowed it (it is left either way).
  struct Depth {
    ECompiler& c;
    bool ok;
    explicit Depth(ECompiler& compiler) : c(compiler), ok(compiler.Enter()) {}
    ~Depth() { c.Leave(); }
  };
  static void Deepen(ENode* n, const ENode* child, int extra = 0);

  EZunScriptEngine& e;
  ECompiledCode& code;
  Mode mode;
  bool bStopped = false;
  bool bBroken = false;
  int nDepth = 0;
};

}  // namespace zun
