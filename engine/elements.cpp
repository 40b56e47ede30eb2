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
    own->packedType = pBody->packedType;
    own->mayPack = pBody->mayPack;
    own->items = pBody->items;  // one level: the elements' own payloads stay shared
    own->numbers = pBody->numbers;
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
  // (A packed list has no values.)
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

void EElements::Unpack(Body* b) {
  b->items.Reserve(b->numbers.GetSize());
  for (int64_t bits : b->numbers) b->items.Add(EScriptValue::Number(b->packedType, bits));
  b->numbers.RemoveAll();
  b->packedType = 0;
  b->mayPack = false;
}

int EElements::FindByName(u16view key) const {
  if (!pBody) return -1;
  const EArray<EScriptValue>& items = Values(pBody);
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
  if (pBody && pBody->packedType && IsPlainNumber(v, pBody->packedType)) {
    AddPacked(v.nValue);
    return;
  }
  EScriptValue copy(v);  // v may live in our own storage, which may move
  Add(std::move(copy));
}

void EElements::Add(EScriptValue&& v) {
  Body* b = Unshared();
  if (b->packedType) {
    if (IsPlainNumber(v, b->packedType)) {
      b->numbers.Add(v.nValue);
      return;
    }
    Unpack(b);
  }
  b->items.Add(std::move(v));
  if (b->index) b->index->Added(b->items, b->items.GetSize() - 1);
  if (b->items.GetSize() == Body::kPackFrom && b->mayPack) Pack(b);
}

// Packs a list of kPackFrom plain numbers of one type; any other list
// stays values for good.
void EElements::Pack(Body* b) {
  b->mayPack = false;
  int32_t type = b->items[0].type;
  if (type != SEVT_INT && type != SEVT_DOUBLE) return;
  for (const EScriptValue& v : b->items)
    if (!IsPlainNumber(v, type)) return;
  b->numbers.Reserve(b->items.GetSize());
  for (const EScriptValue& v : b->items) b->numbers.Add(v.nValue);
  b->items.RemoveAll();
  b->index.reset();
  b->packedType = type;
}

void EElements::AddNamed(const EText& key, const EScriptValue& v) {
  EScriptValue copy(v);
  copy.name = key;
  Add(std::move(copy));
}

void EElements::Set(int i, const EScriptValue& v) {
  Body* b = Unshared();
  if (b->packedType) {
    if (IsPlainNumber(v, b->packedType)) {
      b->numbers[i] = v.nValue;
      return;
    }
    Unpack(b);
  }
  EScriptValue& target = b->items[i];
  bool renames = b->index && !v.name.empty() && v.name != target.name;
  if (renames) b->index->Removing(b->items, i);
  target.CopyFrom(v);
  if (renames) b->index->Added(b->items, i);
}

EScriptValue& EElements::EditAt(int i) {
  Body* b = Unshared();
  if (b->packedType) Unpack(b);
  return b->items[i];
}

}  // namespace zun
