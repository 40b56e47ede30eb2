// The engine's constant store operations.
#include "engine/engine.h"

namespace zun {

bool EZunScriptEngine::LookupConstant(const u16& name, EScriptConstant& out) const {
  return constants.Lookup(name, out);
}

bool EZunScriptEngine::SetConstant(const u16& name, const EScriptConstant& value) {
  constants.SetAt(name, value);
  return true;
}

namespace {

bool ValueOf(const EScriptConstant& c, EScriptValue& value) {
  switch (c.type) {
    case SEVT_STRING: value.SetString(c.pszValue ? c.pszValue : u""); return true;
    case SEVT_INT: value.SetInt64(c.nValue); return true;
    case SEVT_DOUBLE: value.SetDouble(c.dValue); return true;
    default: return false;
  }
}

}  // namespace

bool EZunScriptEngine::GetConstantValue(const u16& name, EScriptValue& value) const {
  EScriptConstant c;
  return LookupConstant(name, c) && ValueOf(c, value);
}

bool EZunScriptEngine::ConstantOf(const ELexedToken& word, EScriptValue& value) {
  if (word.constantGeneration != constants.GetGeneration()) {
    word.constant = constants.Find(word.text);
    word.constantGeneration = constants.GetGeneration();
  }
  return word.constant && ValueOf(*word.constant, value);
}

}  // namespace zun
