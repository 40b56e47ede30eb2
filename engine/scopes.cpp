// Scopes, variable lookup, blocks and function calls.
#include <new>

#include "engine/call_context.h"
#include "engine/engine.h"
#include "platform/system.h"

namespace zun {

void EZunScriptEngine::PushScope() {
  scopes.emplace_back();
  scopes.back().objects.Swap(spareScopeStorage);  // the last popped scope's list, emptied
}

void EZunScriptEngine::PopScope() {
  if (scopes.empty()) return;
  EScriptScope& top = scopes.back();
  if (!top.objects.IsEmpty()) {
    Forget(top);
    constexpr size_t kSpareObjects = 64;
    for (auto& obj : top.objects) {
      if (spareObjects.size() == kSpareObjects) break;
      // Made anew in place: its value is released now, as when it is
      // destroyed (an assignment would keep the value's name).
      EScriptObject* o = obj.get();
      o->~EScriptObject();
      new (o) EScriptObject();
      spareObjects.push_back(std::move(obj));
    }
    // A block that declares pushes and pops a scope on every pass: its list
    // keeps its storage for the next push.
    top.objects.Clear();
    top.objects.Swap(spareScopeStorage);
  }
  scopes.pop_back();
}

void EZunScriptEngine::Forget(EScriptScope& scope) {
  for (const auto& obj : scope.objects)
    if (obj->slot) ++obj->slot->generation;  // what the name meant is gone
}

ENameSlot* EZunScriptEngine::SlotOf(const u16& name) {
  std::unique_ptr<ENameSlot>& slot = nameSlots[name];
  if (!slot) slot = std::make_unique<ENameSlot>();
  return slot.get();
}

EScriptObject* EZunScriptEngine::AddToCurrentScope(const EScriptObject& object, ENameSlot* slot) {
  EScriptObject* added = NewObjectInScope(object.name, slot);
  added->kind = object.kind;
  added->value = object.value;
  return added;
}

EScriptObject* EZunScriptEngine::NewObjectInScope(const EText& name, ENameSlot* slot) {
  std::unique_ptr<EScriptObject> box;
  if (!spareObjects.empty()) {
    box = std::move(spareObjects.back());
    spareObjects.pop_back();
  } else {
    box = std::make_unique<EScriptObject>();
  }
  box->name = name;
  EScriptObject* added = scopes.back().objects.Add(std::move(box)).get();
  added->slot = slot ? slot : SlotOf(added->name);
  // The innermost object of its name: what the name means now.
  ENameSlot& s = *added->slot;
  s.boundGeneration = ++s.generation;
  s.bound = added;
  return added;
}

EScriptObject* EZunScriptEngine::FindObject(const u16& name, bool searchOuter) {
  return FindObject(EText(name), searchOuter);
}

EScriptObject* EZunScriptEngine::FindObject(const EText& name, bool searchOuter) {
  for (int i = GetCurrentScopeIndex(); i >= 0; --i) {
    if (EScriptObject* found = scopes[i].Find(name)) return found;
    if (!searchOuter) break;
  }
  return nullptr;
}

EScriptObject* EZunScriptEngine::SetOrAddObject(const EScriptObject& object, bool searchOuter) {
  if (EScriptObject* existing = FindObject(object.name, searchOuter)) {
    existing->value.CopyFrom(object.value);
    existing->kind = object.kind;
    return existing;
  }
  if (scopes.empty()) return nullptr;
  return AddToCurrentScope(object, object.slot);
}

EScriptValue EZunScriptEngine::ExecuteScope() {
  NestingGuard nesting(*this);
  if (!nesting.ok()) return EScriptValue();
  Trace("entering scope");
  EScriptValue result;
  PushScope();
  BlockLoop(result);
  Trace("leaving scope");
  PopScope();
  return result;
}

void EZunScriptEngine::BlockLoop(EScriptValue& result) {
  for (;;) {
    result.KeepNameOnly();  // the last value shares nothing while the next statement runs
    result = RunStatement();
    if (bClosedBrace) {  // this statement consumed the block's own '}'
      bClosedBrace = false;
      return;
    }
    if (IsFinished()) return;
  }
}

EScriptValue EZunScriptEngine::EvaluateFunctionCall(const u16& name) {
  ELexedToken word;
  word.kind = SETK_WORD;
  word.text = name;
  return CallWord(word);
}

EScriptValue EZunScriptEngine::CallWord(const ELexedToken& word) {
  if (TraceShown()) Trace(u"EvaluateFunctionCall:" + word.text);
  const ELexedToken& open = Lex();
  if (!open.Is(OP_OPEN_PAREN)) {
    ReportError("#4 ( expected");
    return EScriptValue();
  }
  EArgumentFrame frame(argStack);
  int32_t save = cursor.pos;
  const ELexedToken& close = Lex();
  if (!close.Is(OP_CLOSE_PAREN)) {
    cursor.pos = save;
    if (!ReadArguments(frame, nullptr)) return EScriptValue();
  }
  if (!word.builtinKnown) {
    word.builtin = pBuiltinLookup ? pBuiltinLookup(word.text) : nullptr;
    word.builtinKnown = true;
  }
  EScriptValue result = Call(word.text, word.builtin, frame.Args());
  if (TraceShown()) Trace(u"Function:" + word.text + u" returned:" + result.GetInfo());
  return result;
}

bool EZunScriptEngine::ReadArguments(EArgumentFrame& frame, EScriptValue* first) {
  for (;;) {
    EScriptValue arg = first ? std::move(*first) : EvaluateExpression(1);
    first = nullptr;
    // The character right at the cursor, no blank skipped: "f(1 ,2)" fails.
    char16_t next = cursor.Current();
    bool atEnd = cursor.pos >= cursor.Size();
    if (IsFinished()) {
      // A list the text ends inside of is no call: it is reported, not dropped.
      if (!IsError()) ReportError(") expected");
      return false;
    }
    frame.Push(std::move(arg));
    // A call with a huge argument list still ends soon when the run is asked to stop.
    if (frame.Count() % 4096 == 0 && platform::IsPauseAndControlHeld()) {
      ReportError("pause pressed:exiting");
      return false;
    }
    if (!atEnd && next == u',') {
      Lex();
      continue;
    }
    if (!atEnd && next == u')') {
      const ELexedToken& t = Lex();
      if (!t.Is(OP_CLOSE_PAREN)) {
        ReportError(") expected");
        return false;
      }
      return true;
    }
    ReportError(") expected");
    return false;
  }
}

EScriptValue EZunScriptEngine::CallFunction(const u16& name, EScriptArgs args) {
  return Call(name, pBuiltinLookup ? pBuiltinLookup(name) : nullptr, args);
}

EScriptValue EZunScriptEngine::Call(const u16& name, BuiltinFn fn, EScriptArgs args) {
  EScriptValue result;
  CallInto(name, fn, args, result);
  return result;
}

}  // namespace zun
