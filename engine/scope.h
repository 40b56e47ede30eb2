// Named objects (variables) and the scopes that own them.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/containers.h"
#include "engine/value.h"

namespace zun {

enum : int32_t { SEO_UNKNOWN = 0, SEO_VAR = 1, SEO_FUNCTION = 3 };

struct EScriptObject {
  int32_t kind = SEO_UNKNOWN;
  EScriptValue value;
  EText name;  // shared with the tokens that spell it, so most tests of it are one comparison
};

class EScriptScope {
 public:
  u16 name;
  EArray<std::unique_ptr<EScriptObject>> objects;

  // Appends independent copies of the source's objects (after deleting our
  // own when clearFirst); our name is left alone.
  void CopyObjectsFrom(const EScriptScope& src, bool clearFirst);
  // First object whose name equals `wanted` exactly, in declaration order.
  EScriptObject* Find(const EText& wanted) const {
    int i = IndexOf(wanted);
    return i < 0 ? nullptr : objects[i].get();
  }
  int IndexOf(const EText& wanted) const;
  EScriptObject* Append(const EScriptObject& obj);
};

}  // namespace zun
