// ENameIndex: finds the first element of an array with a given name in O(1).
//
// An array is also an associative array: `$h["key"]` means the first element
// whose name is "key" (unnamed elements have the name ""). The index maps
// each name to its first position and counts the elements that carry it, so
// that it can follow appends and renames without rescanning the array.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/containers.h"
#include "text/text.h"

namespace zun {

class EScriptValue;
using EValueList = EArray<EScriptValue>;

class ENameIndex {
 public:
  explicit ENameIndex(const EValueList& items);
  // The first position whose element is named `key`, or -1.
  int Find(const EValueList& items, u16view key) const;
  // Element i now carries its name (it was appended, or just renamed).
  void Added(const EValueList& items, int i);
  // Element i is about to lose its name (it is being renamed).
  void Removing(const EValueList& items, int i);

 private:
  // 12 bytes: the table is the larger part of a big associative array's
  // memory after its elements and names.
  struct Slot {
    int32_t first = kEmpty;  // position of the first element with the name
    int32_t count = 0;       // elements that carry the name
    uint32_t hash = 0;       // the name's hash, cut to 32 bits
  };
  static constexpr int32_t kEmpty = -1;
  static constexpr int32_t kRemoved = -2;

  Slot* Lookup(const EValueList& items, u16view key, uint32_t hash);
  const Slot* Lookup(const EValueList& items, u16view key, uint32_t hash) const;
  void Insert(int32_t first, int32_t count, uint32_t hash);
  void Grow();

  std::vector<Slot> slots;  // open addressing, a power of two in size
  size_t nUsed = 0;         // live and removed slots
};

}  // namespace zun
