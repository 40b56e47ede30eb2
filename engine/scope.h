// Named objects (variables) and the scopes that own them.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/containers.h"
#include "engine/value.h"

namespace zun {

enum : int32_t { SEO_UNKNOWN = 0, SEO_VAR = 1, SEO_FUNCTION = 3 };

// A variable name's count of the changes to what it means: it moves on
// whenever an object of that name is declared or destroyed, so a lookup
// found for the name holds exactly as long as the count stays. A loop body
// that declares $tmp on every pass then changes only what $tmp means.
struct EScriptObject;
struct ENameSlot {
  uint64_t generation = 1;  // 64 bits: a count that never comes round again
  // The object the name was last found to mean, while generation is
  // boundGeneration: what it means does not depend on who asks.
  uint64_t boundGeneration = 0;
  EScriptObject* bound = nullptr;
};

struct EScriptObject {
  int32_t kind = SEO_UNKNOWN;
  EScriptValue value;
  EText name;                 // shared with the tokens that spell it, so most tests of it are one comparison
  ENameSlot* slot = nullptr;  // set while the object is in a scope of the stack
};

class EScriptScope {
 public:
  u16 name;
  // Boxed, one allocation per object, so that an object stays where it is
  // when the list grows: name slots and compiled references keep pointers
  // to objects across later declarations.
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
  // A copy of obj at the end.
  EScriptObject* Append(const EScriptObject& obj);
};

}  // namespace zun
