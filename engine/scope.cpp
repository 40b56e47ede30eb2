#include "engine/scope.h"

namespace zun {

void EScriptScope::CopyObjectsFrom(const EScriptScope& src, bool clearFirst) {
  if (clearFirst) objects.RemoveAll();
  for (const auto& obj : src.objects) Append(*obj);
}

EScriptObject* EScriptScope::Find(const u16& wanted) const {
  for (const auto& obj : objects)
    if (obj->name.size() == wanted.size() && obj->name == wanted) return obj.get();
  return nullptr;
}

EScriptObject* EScriptScope::Append(const EScriptObject& obj) {
  return objects.Add(std::make_unique<EScriptObject>(obj)).get();
}

}  // namespace zun
