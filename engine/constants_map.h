// The predefined constants' store: a hash map of 100 buckets whose nodes are
// allocated in blocks of 10.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/value.h"
#include "text/text.h"

namespace zun {

struct EScriptConstant {
  int32_t type = SEVT_EMPTY;  // SEVT_STRING, SEVT_INT or SEVT_DOUBLE once found
  double dValue = 0.0;
  const char16_t* pszValue = nullptr;  // static text, never freed
  int64_t nValue = 0;
};

class EConstantsMap {
 public:
  explicit EConstantsMap(int buckets = 17) { InitHashTable(buckets); }
  // Rebuilds the (empty) table with a new bucket count.
  void InitHashTable(int buckets);
  bool Lookup(const u16& key, EScriptConstant& out) const;
  // The stored record, or null; it stays where it is until RemoveAll.
  const EScriptConstant* Find(const u16& key) const;
  // Changes whenever a name is added or removed, so that a cached answer
  // of Find can tell whether it still holds.
  uint32_t GetGeneration() const { return nGeneration; }
  void SetAt(const u16& key, const EScriptConstant& value);
  int GetCount() const { return nCount; }
  void RemoveAll();

 private:
  struct Node {
    u16 key;
    EScriptConstant value;
    Node* next = nullptr;
    uint32_t hash = 0;
  };
  static constexpr int kBlockSize = 10;
  static uint32_t Hash(const u16& key);
  Node* NewNode();

  std::vector<Node*> heads;
  std::vector<std::unique_ptr<Node[]>> blocks;
  int nUsedInLastBlock = kBlockSize;
  int nCount = 0;
  uint32_t nGeneration = 1;
};

}  // namespace zun
