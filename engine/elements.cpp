// The shared element list of array values.
#include "engine/name_index.h"
#include "engine/value.h"

namespace zun {

namespace {

// Below this size a scan is as quick as a hash, and small arrays are common.
constexpr int kIndexFrom = 16;

}  // namespace

EElements::Body* EElements::Unshared() {
  if (!pBody) {
    pBody = new Body();
  } else if (pBody->refs > 1) {
    std::unique_ptr<Body> own(new Body());
    own->items = pBody->items;  // one level: the elements' own payloads stay shared
    --pBody->refs;
    pBody = own.release();
  }
  return pBody;
}

// Destroying a list destroys its elements, whose own lists may end with
// them: those wait in a chain and are destroyed by the outermost call, so
// that any depth of nesting costs no stack.
void EElements::Destroy(Body* b) {
  // A list of scalars ends without nesting: the commonest case, without
  // the thread's chain (a thread_local costs a call with MinGW).
  bool nested = false;
  for (const EScriptValue& v : b->items) nested = nested || v.elements.HasBody();
  if (!nested) {
    delete b;
    return;
  }
  static thread_local Body* pending = nullptr;
  static thread_local bool draining = false;
  b->nextToDestroy = pending;
  pending = b;
  if (draining) return;
  draining = true;
  while (pending) {
    Body* next = pending;
    pending = next->nextToDestroy;
    delete next;
  }
  draining = false;
}

int EElements::FindByName(u16view key) const {
  if (!pBody) return -1;
  const EArray<EScriptValue>& items = pBody->items;
  if (!pBody->index) {
    if (items.GetSize() < kIndexFrom) {
      for (int i = 0; i < items.GetSize(); ++i)
        if (u16view(items[i].name.get()) == key) return i;
      return -1;
    }
    pBody->index = std::make_unique<ENameIndex>(items);
  }
  return pBody->index->Find(items, key);
}

void EElements::Add(const EScriptValue& v) {
  EScriptValue copy(v);  // v may live in our own storage, which may move
  Add(std::move(copy));
}

void EElements::Add(EScriptValue&& v) {
  Body* b = Unshared();
  b->items.Add(std::move(v));
  if (b->index) b->index->Added(b->items, b->items.GetSize() - 1);
}

void EElements::AddNamed(const EText& key, const EScriptValue& v) {
  EScriptValue copy(v);
  copy.name = key;
  Add(std::move(copy));
}

void EElements::Set(int i, const EScriptValue& v) {
  Body* b = Unshared();
  EScriptValue& target = b->items[i];
  bool renames = b->index && !v.name.empty() && v.name != target.name;
  if (renames) b->index->Removing(b->items, i);
  target.CopyFrom(v);
  if (renames) b->index->Added(b->items, i);
}

EScriptValue& EElements::EditAt(int i) { return Unshared()->items[i]; }

}  // namespace zun
