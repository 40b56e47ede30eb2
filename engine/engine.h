// EZunScriptEngine: the interpreter object.
//
// The engine reads the script text with one cursor and executes as it
// reads; there is no token list and no syntax tree. Script errors are
// recorded through ReportError and stop every loop at its next check.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/constants_map.h"
#include "engine/containers.h"
#include "engine/lexer.h"
#include "engine/scope.h"
#include "engine/syntax.h"
#include "engine/value.h"
#include "platform/dialogs.h"

namespace zun {

struct EScriptCallContext;
class EExecutor;
class EArgumentFrame;

// The evaluated arguments of a call, in call order.
struct EScriptArgs {
  const EScriptValue* data = nullptr;
  int count = 0;
};

// An entry of the handle table (no built-in adds one; the diagnostics list them).
class EScriptHandle {
 public:
  virtual ~EScriptHandle() = default;
  uint32_t nId = 0;
  u16 strType;
};

class EZunScriptEngine final {
 public:
  // The deepest nesting of parentheses, blocks, unary operators, arguments
  // and indexes; beyond it the run ends with an orderly error instead of
  // exhausting the thread's stack.
  static constexpr int kMaxNesting = 1000;
  static constexpr double kVersion = 1.3;

  u16 strScript;
  void* hMainWnd = nullptr;
  bool bShowErrorMessages = true;
  u16 strCallerExePath;
  u16 strCallerName;
  u16 strScriptCmdLine;
  u16 strScriptPath;
  EArray<u16> files;
  EScriptCursor cursor;
  bool bInitialized = false;
  bool bRunning = false;
  bool breakPending = false;
  u16 strErrors;
  u16 strLastErrorSnippet;
  std::vector<ErrorReport> errorReports;  // the same reports as records, for the hosts
  bool bError = false;
  EScriptScope environment;
  std::vector<EScriptScope> scopes;  // a vector: a block pushes and pops one on every pass
  EConstantsMap constants;
  EArray<std::unique_ptr<EScriptHandle>> handles;
  int64_t nLastError = 0;
  u16 strLastError;
  EScriptValue lastAdditionalResult;

  EZunScriptEngine();

  // Slot order of the virtual operations.
  // Traces are shown only after an error, so their text is built only then.
  virtual void Trace(const char* text) {
    if (TraceShown()) ShowEngineBox(FromAscii(text));
  }
  virtual void Trace(const u16& text) {
    if (TraceShown()) ShowEngineBox(text);
  }
  virtual void PrepareBuiltinArgs(const u16& name, EScriptArgs args, EScriptCallContext& ctx);
  virtual void CallBuiltin(EScriptValue& result, EScriptCallContext& ctx);
  virtual EScriptValue CallFunction(const u16& name, EScriptArgs args);
  virtual void SetScript(const u16& text);
  virtual bool Initialize();
  virtual EScriptValue Run();
  virtual EScriptToken ReadToken();
  virtual u16 GetNextToken(int32_t& kind);
  virtual EScriptValue EvaluateExpression(int minLevel);
  virtual bool ApplyBinaryOperator(EScriptValue& left, const EScriptValue& right, const u16& op);
  virtual const EScriptValue* ResolveVariableReference(const u16& name, bool& outOfRange, bool& created);
  virtual bool ExecuteKeyword(const u16& word, EScriptValue& result);
  virtual EScriptValue EvaluateFunctionCall(const u16& name);
  virtual EScriptValue ExecuteScope();
  virtual void OmitScope();
  virtual void OmitNextStatementOrScope();
  virtual void ReportError(const char* message);
  virtual void ReportError(const u16& message);
  virtual bool IsError() const { return bError; }
  virtual bool IsAtEnd() const { return cursor.pos > static_cast<int32_t>(strScript.size()) - 1; }
  virtual bool IsFinished() const { return IsError() || IsAtEnd(); }
  virtual bool AddEnvironmentVariable(const u16& name, const EScriptValue& value);
  virtual void PushScope();
  virtual void PopScope();
  virtual int GetCurrentScopeIndex() const { return static_cast<int>(scopes.size()) - 1; }
  virtual EScriptObject* FindObject(const u16& name, bool searchOuter);
  EScriptObject* FindObject(const EText& name, bool searchOuter);
  virtual EScriptObject* SetOrAddObject(const EScriptObject& object, bool searchOuter);
  virtual bool SetOrAddVariable(const u16& name, const EScriptValue& value, bool onlyIfAbsent);
  virtual bool LookupConstant(const u16& name, EScriptConstant& out) const;
  virtual bool SetConstant(const u16& name, const EScriptConstant& value);
  virtual bool GetConstantValue(const u16& name, EScriptValue& value) const;
  virtual u16 GetEngineInfo();
  virtual ~EZunScriptEngine();

  // Diagnostics (engine/diagnostics.cpp).
  u16 GetObjectInfo(const EScriptObject& object) const;
  u16 GetScopeReport(int index) const;

  // The dialog seam; the host installs its own before Initialize (until it
  // does, nothing is shown and every question takes its default answer).
  void SetDialogs(IScriptDialogs* dialogs) { pDialogs = dialogs ? dialogs : &UnattendedDialogs(); }
  IScriptDialogs& Dialogs() const { return *pDialogs; }
  // The built-in library, which the host installs before Initialize (until
  // it does, every call reports that its function is not found).
  using BuiltinLookup = BuiltinFn (*)(const u16& name);
  using IntrinsicLookup = IntrinsicFn (*)(const u16& name);
  void SetBuiltinLookup(BuiltinLookup lookup, IntrinsicLookup intrinsics = nullptr) {
    pBuiltinLookup = lookup;
    pIntrinsicLookup = intrinsics;
  }

  // Reads the whole script as running it would, without running anything,
  // and reports the first lexical or structural error (an unclosed brace or
  // parenthesis, if without '(', repeat without '{', else without if, var
  // without a variable, two operands without an operator, a function that
  // does not exist). True when there was none.
  bool CheckScript();

  // Counts the lines and columns (1-based) of a text position.
  static void LineAndColumn(const u16& text, int32_t pos, int& line, int& column);

  // The next token at the cursor, which moves past it: from the cache when
  // this position has been read before.
  const ELexedToken& Lex() {
    if (const ELexedToken* t = tokenCache.Find(cursor.pos)) {
      cursor.pos = t->end;
      return *t;
    }
    return LexUncached();
  }
  bool ApplyOperator(EOperator op, EScriptValue& left, const EScriptValue& right) {
    // Arithmetic and comparisons between numbers without the operator's function.
    if (left.IsNumber() && right.IsNumber() && ApplyToNumbers(op, left, right)) return true;
    OperatorFn apply = OperatorInfo(op).apply;
    return apply && apply(*this, left, right);
  }

 private:
  friend class NestingGuard;
  bool TraceShown() const { return bError && bShowErrorMessages && !bNestingExceeded; }
  // Traces a text built only when it will be shown; a text too big for the
  // memory left is replaced by a note.
  void TraceBuilt(const std::function<u16()>& build);
  // Ends the statement being run with an error, after memory ran out or a
  // stop came in the middle of it.
  void Abandon(const char* message);
  // Shows one of the engine's own boxes (traces and warnings).
  void ShowEngineBox(const u16& text);
  // The box of the run's errors, after `lead`, when traces are shown.
  void ShowErrors(const u16& lead);
  // The lexer (engine/lexer.cpp): reads at the cursor and stores what it
  // found, unless the read reported an error.
  const ELexedToken& LexUncached();
  u16 Tokenize(int32_t& kind);
  void LexError(const char* message);
  void LexError(const u16& message);
  // The text interpreter, in pieces that the executor can take up where a
  // run leaves the compiled form's path (engine/expressions.cpp,
  // statements.cpp, scopes.cpp).
  // A store target that stays valid when the right operand resizes arrays:
  // the variable, and the element position in it when there is one.
  struct LValue {
    EScriptObject* object = nullptr;
    int element = -1;
  };
  // The operator loop of EvaluateExpression, from the cursor.
  void OperatorLoop(EScriptValue& acc, LValue& lvalue, int minLevel);
  // Applies one operator of the loop (and stores, for an assignment); false
  // after an error, which it has reported.
  bool ApplyTailOp(EOperator op, const EOperatorInfo& info, EScriptValue& acc, const LValue& lv,
                   const EScriptValue& right);
  // After an operator's right operand: the loop ends when the statement's
  // terminator has just been read, after an error, or while break is pending.
  bool TailEnds() const {
    char16_t before = cursor.At(cursor.pos - 1);
    return before == u';' || before == u'}' || before == u',' || bError || breakPending;
  }
  // Keyword statements by identity.
  bool RunKeyword(EKeyword keyword, EScriptValue& result);
  // The if statement after its condition, and after its branch.
  void IfAfterCondition(const EScriptValue& cond, EScriptValue& result);
  void IfElsePart(bool holds, EScriptValue& result);
  // Not the truth of && and ||: "0" and 0.5 hold here.
  static bool ConditionHolds(const EScriptValue& cond) {
    switch (cond.type) {
      case SEVT_DOUBLE: return cond.dValue != 0.0;  // a NaN holds
      case SEVT_INT: return cond.nValue != 0;
      case SEVT_STRING: return !cond.strValue.empty();
      case SEVT_ARRAY: return cond.GetElementCount() > 0;
      default: return false;
    }
  }
  // The statements of the current block from the cursor, until one consumes
  // the block's '}' or the run finishes.
  void BlockLoop(EScriptValue& result);
  // A word that is no keyword: a constant's value or a call.
  bool ConstantOf(const ELexedToken& word, EScriptValue& value);
  EScriptValue CallWord(const ELexedToken& word);
  // A call's argument list from the cursor (after '(' and before a first
  // argument, or right after `first` was evaluated), into the frame; false
  // when the call does not happen.
  bool ReadArguments(EArgumentFrame& frame, EScriptValue* first);
  EScriptValue Call(const u16& name, BuiltinFn fn, EScriptArgs args);
  // The same into result, which must be a new, empty value.
  void CallInto(const u16& name, BuiltinFn fn, EScriptArgs args, EScriptValue& result);
  // Runs fn, if any, into result, which must be a new, empty value.
  void RunBuiltin(BuiltinFn fn, EScriptValue& result, EScriptCallContext& ctx);
  // `var $name` or `var $name[...]` after the word var: the declared
  // variable's value and left value; false when no name follows.
  bool Declare(EScriptValue& acc, LValue& lvalue);
  // The declaration itself, its tokens read.
  void Declared(const EText& name, ENameSlot* slot, bool isArray, EScriptValue& acc, LValue& lvalue);
  // Stores v through the left value; false when it names nothing any more.
  bool StoreThrough(const LValue& lv, const EScriptValue& v);
  // `+=` that appends to an array or a string in place (the caller checks
  // that acc is an array, or a string and right one too), when the target
  // still holds what the expression read; the one copy of the whole value
  // is then the target itself.
  bool AppendInPlace(const LValue& lv, EScriptValue& acc, const EScriptValue& right);
  const EScriptValue* ResolveReference(EScriptObject* object, const u16& name, bool& outOfRange, bool& created,
                                       LValue* lv);
  // The element an index names, its ']' read; reports what is wrong.
  const EScriptValue* ResolveIndex(EScriptObject& object, const u16& name, const EScriptValue& index, bool& outOfRange,
                                   bool& created, LValue* lv);
  // The skip of the text interpreter as it was, for the unwinding after an
  // error: what it reports and traces there stays as it was.
  void OmitTokensAfterError();
  // Skips a statement a run would fail on: to its ';' or the end of the
  // block it opens, brackets balanced.
  void OmitBalanced();

  // The evaluator's nesting count and its stop (see kMaxNesting).
  bool EnterNesting() { return ++nNesting <= kMaxNesting || NestingExceeded(); }
  bool NestingExceeded();
  void LeaveNesting() { --nNesting; }

  // The compiled form (engine/compiler.cpp, executor.cpp).
  friend class ECompiler;
  friend class EExecutor;
  // One statement at the cursor (what EvaluateExpression(1) runs): compiled
  // the first time it is reached, run by the text interpreter when it
  // cannot be compiled.
  EScriptValue RunStatement();
  // The compiled statement at a position, compiled on first reach; null
  // when it cannot be (or would nest too deeply from here).
  ENode* StatementAt(int32_t pos);
  // Running left the compiled form's static path (an error, or a statement
  // cut short by break): the cursor is then exact, and the construct is
  // finished by the text interpreter.
  bool Derailed() const { return bOffTrack || bError; }
  bool bOffTrack = false;
  ECompiledCode code;
  std::unique_ptr<EExecutor> executor;

  // Variables: the name slots whose generation tells whether a found
  // object still stands for its name (see ENameSlot).
  ENameSlot* SlotOf(const u16& name);
  EScriptObject* AddToCurrentScope(const EScriptObject& object, ENameSlot* slot = nullptr);
  // A new, empty object named `name` in the innermost scope (which must
  // exist): what the name means now.
  EScriptObject* NewObjectInScope(const EText& name, ENameSlot* slot);
  void Forget(EScriptScope& scope);
  std::unordered_map<u16, std::unique_ptr<ENameSlot>> nameSlots;
  // Boxes of objects whose scope ended, emptied, for the next declarations:
  // a loop body's `var` then allocates nothing per pass.
  std::vector<std::unique_ptr<EScriptObject>> spareObjects;
  EArray<std::unique_ptr<EScriptObject>> spareScopeStorage;  // empty, with the storage of a popped scope's list

  IScriptDialogs* pDialogs;
  BuiltinLookup pBuiltinLookup = nullptr;
  IntrinsicLookup pIntrinsicLookup = nullptr;
  ETokenCache tokenCache;
  ELexedToken lexScratch;  // a token whose reading failed: never cached
  bool bLexFailed = false;
  bool bQuietLex = false;  // compiling: a lexical error is not reported
  // The arguments of the calls being evaluated, innermost last.
  std::vector<EScriptValue> argStack;
  int nNesting = 0;
  bool bNestingExceeded = false;  // unwinds quietly after the nesting stop
  bool bClosedBrace = false;      // the last statement consumed a block's '}'
};

// A scope guard for one level of nesting.
class NestingGuard {
 public:
  explicit NestingGuard(EZunScriptEngine& e) : engine(e), bOk(e.EnterNesting()) {}
  ~NestingGuard() { engine.LeaveNesting(); }
  bool ok() const { return bOk; }

 private:
  EZunScriptEngine& engine;
  bool bOk;
};

// The arguments of one call on the engine's argument stack, popped on every
// way out.
class EArgumentFrame {
 public:
  explicit EArgumentFrame(std::vector<EScriptValue>& stack) : stack(stack), nBase(stack.size()) {}
  ~EArgumentFrame() { stack.resize(nBase); }
  EArgumentFrame(const EArgumentFrame&) = delete;
  EArgumentFrame& operator=(const EArgumentFrame&) = delete;
  void Push(EScriptValue&& v) { stack.push_back(std::move(v)); }
  // A new value at the end, to fill in place; valid until the next push.
  EScriptValue& PushNew() { return stack.emplace_back(); }
  void DropLast() { stack.pop_back(); }
  EScriptArgs Args() const { return {stack.data() + nBase, Count()}; }
  int Count() const { return static_cast<int>(stack.size() - nBase); }

 private:
  std::vector<EScriptValue>& stack;
  size_t nBase;
};

// Registers the predefined constants (engine/constants_table.cpp).
void RegisterConstants(EZunScriptEngine& engine);
// Every registration of the table, in order (SW_SHOW comes twice).
void ForEachConstantRow(const std::function<void(const char16_t* name, const EScriptConstant& c)>& visit);
// The group of a constant's name: its Windows prefix ("VK_", "ID", ...), or
// "" for the engine's own nine.
const char16_t* ConstantGroupOf(u16view name);

}  // namespace zun
