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
  u16 name;
};

class EScriptScope {
 public:
  u16 name;
  EArray<std::unique_ptr<EScriptObject>> objects;

  // Appends independent copies of the source's objects (after deleting our
  // own when clearFirst); our name is left alone.
  void CopyObjectsFrom(const EScriptScope& src, bool clearFirst);
  // First object whose name equals `wanted` exactly, in declaration order.
  EScriptObject* Find(const u16& wanted) const;
  EScriptObject* Append(const EScriptObject& obj);
};

}  // namespace zun
