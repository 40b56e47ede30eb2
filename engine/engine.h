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
#include "engine/value.h"
#include "platform/dialogs.h"

namespace zun {

struct EScriptCallContext;

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
  EScriptScope* GetScope(int index);

  // The dialog seam; the host installs its own before Initialize (until it
  // does, nothing is shown and every question takes its default answer).
  void SetDialogs(IScriptDialogs* dialogs) { pDialogs = dialogs ? dialogs : &UnattendedDialogs(); }
  IScriptDialogs& Dialogs() const { return *pDialogs; }
  // The built-in library, which the host installs before Initialize (until
  // it does, every call reports that its function is not found).
  using BuiltinLookup = BuiltinFn (*)(const u16& name);
  void SetBuiltinLookup(BuiltinLookup lookup) { pBuiltinLookup = lookup; }

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
    // Arithmetic between doubles without the call to the operator's function.
    if (left.type == SEVT_DOUBLE && right.type == SEVT_DOUBLE && ApplyToDoubles(op, left.dValue, right.dValue))
      return true;
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
  // The lexer (engine/lexer.cpp): reads at the cursor and stores what it
  // found, unless the read reported an error.
  const ELexedToken& LexUncached();
  u16 Tokenize(int32_t& kind);
  void LexError(const char* message);
  void LexError(const u16& message);
  // Keyword statements by identity (engine/statements.cpp).
  bool RunKeyword(EKeyword keyword, EScriptValue& result);
  // Skipping and checking (engine/skipping.cpp): each reads what running
  // the construct reads, evaluating nothing; false when it stopped at an
  // error.
  bool SkipExpression(int minLevel, bool& closed);
  bool SkipBlock(int32_t openPos);
  bool SkipKeyword(EKeyword keyword, bool& closed);
  bool SkipIndex(bool& closed);
  bool SkipDeclaration();
  bool SkipCall(const ELexedToken& word, bool& closed);
  bool SkipOptional(EOperator op);
  bool SkipFailed(const u16& message);
  bool IsConstantWord(const ELexedToken& word);
  // The skip of the text interpreter as it was, for the unwinding after an
  // error: what it reports and traces there stays as it was.
  void OmitTokensAfterError();
  // Where skipping the statement at a position ends, once it has been read
  // without an error; the script cannot change during a run.
  struct SkipExtent {
    int32_t end;
    bool closedBrace;
  };
  std::unordered_map<int32_t, SkipExtent> skipped;
  bool bCheckMode = false;  // reading for CheckScript: report what a run would
  // A word that is no keyword: a constant's value or a call.
  bool ConstantOf(const ELexedToken& word, EScriptValue& value);
  EScriptValue CallWord(const ELexedToken& word);
  EScriptValue Call(const u16& name, BuiltinFn fn, EScriptArgs args);
  // Runs fn, if any, into result, which must be a new, empty value.
  void RunBuiltin(BuiltinFn fn, EScriptValue& result, EScriptCallContext& ctx);
  // The evaluator's nesting count and its stop (see kMaxNesting).
  bool EnterNesting() { return ++nNesting <= kMaxNesting || NestingExceeded(); }
  bool NestingExceeded();
  void LeaveNesting() { --nNesting; }
  // A store target that stays valid when the right operand resizes arrays:
  // the variable, and the element position in it when there is one.
  struct LValue {
    EScriptObject* object = nullptr;
    int element = -1;
  };
  // `var $name` or `var $name[...]` after the word var: the declared
  // variable's value and left value; false when no name follows.
  bool Declare(EScriptValue& acc, LValue& lvalue);
  // Stores v through the left value; false when it names nothing any more.
  bool StoreThrough(const LValue& lv, const EScriptValue& v);
  // A statement that is the block's closing brace read before: it is
  // consumed and its value is empty, as EvaluateExpression would make it.
  bool ClosingBraceNext() {
    const ELexedToken* t = tokenCache.Find(cursor.pos);
    if (!t || !t->Is(OP_CLOSE_BRACE) || nNesting >= kMaxNesting) return false;
    cursor.pos = t->end;
    return true;
  }
  // `$v op x` and the token after it, all read before, x a literal or a
  // variable: the form of the two shortcuts below. False when a token is
  // missing or of another kind, or where the long way would meet the nesting
  // limit (it nests once for the expression and once more in the operand's
  // test).
  struct SimpleForm {
    const ELexedToken *target, *op, *operand, *after;
  };
  bool ReadSimpleForm(SimpleForm& form);
  // The value of a simple form's target and operand, when both are doubles.
  EScriptObject* DoubleTarget(const SimpleForm& form, double& operand);
  // `$v += x;` (or -=, *=, /=) between doubles: what EvaluateExpression(1)
  // computes, without its frame; false to take the long way.
  bool SimpleStatement(EScriptValue& result);
  // `$v < x` (or any comparison) between doubles right before ')': what
  // EvaluateExpression(1) computes, without its frame; the ')' stays unread.
  bool SimpleComparison(EScriptValue& result);
  // An operand that is a literal or a variable, evaluated without a call
  // when the tokens around it have been read before; false to take the long
  // way.
  bool SimpleOperand(int level, EScriptValue& out);
  // `+=` that appends to an array or a string in place (the caller checks
  // that acc is an array, or a string and right one too), when the target
  // still holds what the expression read; the one copy of the whole value
  // is then the target itself.
  bool AppendInPlace(const LValue& lv, EScriptValue& acc, const EScriptValue& right);
  const EScriptValue* ResolveReference(EScriptObject* object, const u16& name, bool& outOfRange, bool& created,
                                      LValue* lv);
  // FindObject(name, true) for a variable token: the object found last
  // time while no variable has been declared and no scope that held one has
  // ended since (blocks that declare nothing come and go freely: they cannot
  // change which object a name means).
  EScriptObject* FindVariable(const ELexedToken& token) {
    if (token.varGeneration == nScopesGeneration) return token.varObject;
    return SearchVariable(token);
  }
  // Counts the changes to the scopes' objects; starts at 1 so that a new
  // token's 0 never matches.
  uint32_t nScopesGeneration = 1;
  void ScopesChanged() { ++nScopesGeneration; }
  EScriptObject* SearchVariable(const ELexedToken& token);
  bool ConditionHolds(const EScriptValue& cond) const;

  IScriptDialogs* pDialogs;
  BuiltinLookup pBuiltinLookup = nullptr;
  ETokenCache tokenCache;
  ELexedToken lexScratch;  // a token whose reading failed: never cached
  bool bLexFailed = false;
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

// Registers the predefined constants (engine/constants_table.cpp).
void RegisterConstants(EZunScriptEngine& engine);
// Every registration of the table, in order (SW_SHOW comes twice).
void ForEachConstantRow(const std::function<void(const char16_t* name, const EScriptConstant& c)>& visit);
// The group of a constant's name: its Windows prefix ("VK_", "ID", ...), or
// "" for the engine's own nine.
const char16_t* ConstantGroupOf(u16view name);

}  // namespace zun
