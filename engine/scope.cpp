// A scope's objects: finding, appending and copying them.
#include "engine/scope.h"

namespace zun {

void EScriptScope::CopyObjectsFrom(const EScriptScope& src, bool clearFirst) {
  if (clearFirst) objects.RemoveAll();
  for (const auto& obj : src.objects) Append(*obj);
}

int EScriptScope::IndexOf(const EText& wanted) const {
  for (int i = 0; i < objects.GetSize(); ++i)
    if (objects[i]->name == wanted) return i;
  return -1;
}

EScriptObject* EScriptScope::Append(const EScriptObject& obj) {
  return objects.Add(std::make_unique<EScriptObject>(obj)).get();
}

}  // namespace zun
