// The engine's reports of its own state.
#include <cstdio>

#include "engine/engine.h"
#include "platform/system.h"

namespace zun {

u16 EZunScriptEngine::GetObjectInfo(const EScriptObject& object) const {
  u16 out = u"Type:";
  switch (object.kind) {
    case SEO_UNKNOWN: out += u"SEO_UNKNOWN"; break;
    case SEO_VAR: out += u"SEO_VAR"; break;
    case SEO_FUNCTION: out += u"SEO_FUNCTION"; break;
    default: break;
  }
  out += u",name:" + object.name;
  if (object.kind == SEO_VAR) out += u",var info:" + object.value.GetInfo();
  return out;
}

u16 EZunScriptEngine::GetScopeReport(int index) const {
  if (index < 0 || index >= GetCurrentScopeIndex() + 1) return u"Error,NO SCOPE AVAILABLE";
  u16 out;
  for (int i = index; i <= GetCurrentScopeIndex(); ++i) {
    u16 indent(static_cast<size_t>(i), u' ');
    for (const auto& obj : scopes[i].objects) out += indent + GetObjectInfo(*obj) + u"\r\n";
  }
  return out;
}

u16 EZunScriptEngine::GetEngineInfo() {
  char version[32];
  std::snprintf(version, sizeof version, "%G", kVersion);
  u16 out = u"[ZUN Script engine internal info]\r\n";
  out += u"ZUN Script version:" + FromAscii(version) + u"\r\n";
  out += u"current directory:" + platform::CurrentDirectory(2048) + u"\r\n";
  out += u"variables and functions:\r\n";
  for (const EScriptScope& scope : scopes)
    for (const auto& obj : scope.objects) out += GetObjectInfo(*obj) + u"\r\n";
  out += u"\r\nconstants:\r\nnot available\r\n";
  out += u"\r\nhandles:\r\n";
  for (const auto& h : handles) out += u"Type:" + h->strType + u", ID:" + UInt64ToString(h->nId) + u"\r\n";
  return out;
}

}  // namespace zun
