// Engine lifecycle and its error channel.
#include "engine/engine.h"

#include <new>

#include "engine/executor.h"

namespace zun {

EZunScriptEngine::EZunScriptEngine() : executor(std::make_unique<EExecutor>(*this)), pDialogs(&UnattendedDialogs()) {
  environment.name = u"Environment";
  constants.InitHashTable(100);
  cursor.Set(&strScript);
}

EZunScriptEngine::~EZunScriptEngine() = default;

void EZunScriptEngine::ShowEngineBox(const u16& text) { Dialogs().EngineBox(hMainWnd, text); }

void EZunScriptEngine::SetScript(const u16& text) {
  strScript = text;
  cursor.Set(&strScript);
  tokenCache.Clear();
  code.Clear();
}

bool EZunScriptEngine::Initialize() {
  RegisterConstants(*this);
  hMainWnd = Dialogs().MainWindow();
  const struct {
    const char16_t* name;
    const u16* value;
  } predefined[] = {
      {u"calling_app_exe_path", &strCallerExePath},
      {u"_CALLER_PATH", &strCallerExePath},
      {u"calling_app_name", &strCallerName},
      {u"_CALLER_NAME", &strCallerName},
      {u"script_cmdline", &strScriptCmdLine},
      {u"_PARAMS", &strScriptCmdLine},
      {u"script_path", &strScriptPath},
      {u"_SCRIPT_PATH", &strScriptPath},
  };
  for (const auto& p : predefined) AddEnvironmentVariable(p.name, EScriptValue::String(*p.value));
  EScriptValue fileList = EScriptValue::Array();
  for (const u16& f : files) fileList.elements.Add(EScriptValue::String(f));
  AddEnvironmentVariable(u"_FILES", fileList);
  Trace("Init");
  cursor.Set(&strScript);
  tokenCache.Clear();
  code.Clear();
  bInitialized = true;
  return true;
}

namespace {

// Clears a flag on every way out.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : bFlag(flag) { bFlag = true; }
  ~FlagScope() { bFlag = false; }

 private:
  bool& bFlag;
};

}  // namespace

void EZunScriptEngine::TraceBuilt(const std::function<u16()>& build) {
  if (!TraceShown()) return;
  u16 text;
  try {
    text = build();
  } catch (const std::bad_alloc&) {
    text = u"(not enough memory to show this text)";
  } catch (const EStopRequested&) {
    text = u"(stopped while making this text)";
  }
  Trace(text);
}

void EZunScriptEngine::Abandon(const char* message) {
  // The statement was abandoned where it failed: what it had opened is
  // closed as its normal end would have closed it.
  while (scopes.size() > 1) PopScope();
  argStack.clear();
  bOffTrack = false;
  nNesting = 0;
  bClosedBrace = false;
  bNestingExceeded = false;
  ReportError(message);
}

EScriptValue EZunScriptEngine::Run() {
  FlagScope running(bRunning);
  if (!bInitialized) {
    ShowEngineBox(u"EZunScriptEngine::Run : Initialize() not called");
    return EScriptValue();
  }
  strLastError.clear();
  strLastErrorSnippet.clear();
  strErrors.clear();
  errorReports.clear();
  bError = false;
  breakPending = false;
  bClosedBrace = false;
  bNestingExceeded = false;
  nNesting = 0;
  lastAdditionalResult.CopyFrom(EScriptValue());
  // The host may have changed the text since it was last read.
  tokenCache.Clear();
  code.Clear();
  bOffTrack = false;

  for (EScriptScope& scope : scopes) Forget(scope);
  scopes.clear();
  PushScope();
  scopes[0].CopyObjectsFrom(environment, true);
  scopes[0].name = u"copied from environment, plus normal flaw";
  for (const auto& obj : scopes[0].objects) {
    obj->slot = SlotOf(obj->name);
    ++obj->slot->generation;
  }

  EScriptValue result;
  cursor.pos = 0;
  if (strScript.empty()) {
    ReportError("Script is empty");
    return result;
  }
  do {
    result.KeepNameOnly();  // the last value shares nothing while the next statement runs
    // Memory running out ends the run as a script error does.
    try {
      result = RunStatement();
    } catch (const std::bad_alloc&) {
      Abandon("out of memory");
    } catch (const EStopRequested&) {
      Abandon("pause pressed:exiting");
    }
    bClosedBrace = false;  // a stray '}' at the top level is an empty statement
    bNestingExceeded = false;
    TraceBuilt([&] { return u"...Exec ret: " + result.GetInfo(); });
  } while (!IsAtEnd() && !IsError());

  TraceBuilt([&] { return u"cur scope rep:\r\n" + GetScopeReport(0); });
  ShowErrors(u"ERROR! : ");
  return result;
}

void EZunScriptEngine::ReportError(const char* message) { ReportError(FromAscii(message)); }

void EZunScriptEngine::ReportError(const u16& message) {
  if (bNestingExceeded) return;  // the nesting stop has been reported once
  bError = true;
  ErrorReport report;
  report.pos = cursor.pos;
  LineAndColumn(strScript, cursor.pos, report.line, report.column);
  report.message = message;
  strLastErrorSnippet = SafeMid(strScript, static_cast<int64_t>(cursor.pos) - 40, 40);
  report.snippet = strLastErrorSnippet;
  for (auto& c : report.snippet)
    if (c == u'\r' || c == u'\n') c = u' ';
  errorReports.push_back(std::move(report));
  strErrors += ReportsText({errorReports.back()});
  ShowErrors(u16());
}

void EZunScriptEngine::ShowErrors(const u16& lead) {
  if (!TraceShown()) return;
  try {
    Dialogs().ErrorBox(hMainWnd, lead, errorReports);
  } catch (const std::bad_alloc&) {
    ShowEngineBox(u"(not enough memory to show this text)");
  }
}

bool EZunScriptEngine::NestingExceeded() {
  if (!bNestingExceeded) {
    ReportError(u"script nested too deeply (more than " + Int64ToString(kMaxNesting) +
                u" levels of parentheses, blocks, operators, arguments or indexes)");
    bNestingExceeded = true;
  }
  return false;
}

bool EZunScriptEngine::AddEnvironmentVariable(const u16& name, const EScriptValue& value) {
  if (EScriptObject* existing = environment.Find(name)) {
    existing->value.CopyFrom(value);
    existing->kind = SEO_VAR;
    return true;
  }
  EScriptObject obj;
  obj.kind = SEO_VAR;
  obj.name = name;
  obj.value.CopyFrom(value);
  environment.Append(obj);
  return true;
}

bool EZunScriptEngine::SetOrAddVariable(const u16& name, const EScriptValue& value, bool onlyIfAbsent) {
  if (!bRunning) ShowEngineBox(u"warning : SetOrAddVariable called while not running");
  if (scopes.empty()) return false;
  if (onlyIfAbsent && FindObject(name, false)) return false;
  EScriptObject obj;
  obj.kind = SEO_VAR;
  obj.name = name;
  obj.value.CopyFrom(value);
  SetOrAddObject(obj, true);
  return true;
}

void EZunScriptEngine::LineAndColumn(const u16& text, int32_t pos, int& line, int& column) {
  line = 1;
  column = 1;
  int32_t end = pos < static_cast<int32_t>(text.size()) ? pos : static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < end; ++i) {
    if (text[static_cast<size_t>(i)] == u'\n') {
      ++line;
      column = 1;
    } else if (text[static_cast<size_t>(i)] != u'\r') {
      ++column;
    }
  }
}

}  // namespace zun
