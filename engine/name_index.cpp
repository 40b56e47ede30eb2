// The index from element names to their first position in an array.
#include "engine/name_index.h"

#include <functional>

#include "engine/value.h"

namespace zun {

namespace {

uint32_t HashOf(u16view key) { return static_cast<uint32_t>(std::hash<u16view>()(key)); }

}  // namespace

ENameIndex::ENameIndex(const EValueList& items) {
  for (int i = 0; i < items.GetSize(); ++i) Added(items, i);
}

const ENameIndex::Slot* ENameIndex::Lookup(const EValueList& items, u16view key, uint32_t hash) const {
  if (slots.empty()) return nullptr;
  size_t mask = slots.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& s = slots[i];
    if (s.first == kEmpty) return nullptr;
    if (s.first >= 0 && s.hash == hash && u16view(items[s.first].name.get()) == key) return &s;
  }
}

ENameIndex::Slot* ENameIndex::Lookup(const EValueList& items, u16view key, uint32_t hash) {
  return const_cast<Slot*>(static_cast<const ENameIndex*>(this)->Lookup(items, key, hash));
}

int ENameIndex::Find(const EValueList& items, u16view key) const {
  const Slot* s = Lookup(items, key, HashOf(key));
  return s ? s->first : -1;
}

void ENameIndex::Added(const EValueList& items, int i) {
  const u16& name = items[i].name;
  uint32_t hash = HashOf(name);
  if (Slot* s = Lookup(items, name, hash)) {
    ++s->count;
    if (i < s->first) s->first = i;
    return;
  }
  Insert(i, 1, hash);
}

void ENameIndex::Removing(const EValueList& items, int i) {
  const u16& name = items[i].name;
  Slot* s = Lookup(items, name, HashOf(name));
  if (!s) return;
  if (--s->count == 0) {
    s->first = kRemoved;
    return;
  }
  if (s->first != i) return;
  // The first carrier loses the name: the next one takes its place.
  for (int j = i + 1; j < items.GetSize(); ++j) {
    if (items[j].name == name) {
      s->first = j;
      return;
    }
  }
}

void ENameIndex::Insert(int32_t first, int32_t count, uint32_t hash) {
  if ((nUsed + 1) * 4 > slots.size() * 3) Grow();
  size_t mask = slots.size() - 1;
  size_t i = hash & mask;
  while (slots[i].first != kEmpty) i = (i + 1) & mask;
  slots[i] = {first, count, hash};
  ++nUsed;
}

void ENameIndex::Grow() {
  std::vector<Slot> old;
  old.swap(slots);
  size_t live = 0;
  for (const Slot& s : old) live += s.first >= 0;
  // At most half full after the growth, and grown again at three quarters
  // full: a table that fills up doubles, and probes stay short.
  size_t size = 16;
  while (size < (live + 1) * 2) size *= 2;
  slots.assign(size, Slot());
  nUsed = 0;
  for (const Slot& s : old)
    if (s.first >= 0) Insert(s.first, s.count, s.hash);
}

}  // namespace zun
