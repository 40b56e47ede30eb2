// The predefined constants' hash map.
#include "engine/constants_map.h"

namespace zun {

void EConstantsMap::InitHashTable(int buckets) {
  RemoveAll();
  heads.assign(static_cast<size_t>(buckets > 0 ? buckets : 1), nullptr);
}

void EConstantsMap::RemoveAll() {
  for (auto& h : heads) h = nullptr;
  blocks.clear();
  nUsedInLastBlock = kBlockSize;
  nCount = 0;
  ++nGeneration;
}

uint32_t EConstantsMap::Hash(const u16& key) {
  uint32_t h = 0;  // h * 33 + c, as the framework's string hash
  for (char16_t c : key) h = (h << 5) + h + c;
  return h;
}

EConstantsMap::Node* EConstantsMap::NewNode() {
  if (nUsedInLastBlock == kBlockSize) {
    blocks.emplace_back(new Node[kBlockSize]);
    nUsedInLastBlock = 0;
  }
  return &blocks.back()[nUsedInLastBlock++];
}

const EScriptConstant* EConstantsMap::Find(const u16& key) const {
  uint32_t h = Hash(key);
  for (Node* n = heads[h % heads.size()]; n; n = n->next)
    if (n->hash == h && n->key == key) return &n->value;
  return nullptr;
}

bool EConstantsMap::Lookup(const u16& key, EScriptConstant& out) const {
  const EScriptConstant* c = Find(key);
  if (c) out = *c;
  return c != nullptr;
}

void EConstantsMap::SetAt(const u16& key, const EScriptConstant& value) {
  uint32_t h = Hash(key);
  Node*& head = heads[h % heads.size()];
  for (Node* n = head; n; n = n->next) {
    if (n->hash == h && n->key == key) {
      n->value = value;
      return;
    }
  }
  Node* n = NewNode();
  n->key = key;
  n->value = value;
  n->hash = h;
  n->next = head;
  head = n;
  ++nCount;
  ++nGeneration;
}

}  // namespace zun
