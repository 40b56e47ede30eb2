// The engine's one growable array.
//
// Every list of the engine (array elements, a scope's objects)
// grows by the same rule: a new capacity of max(capacity + step, count) where
// step is half the capacity, at least 4, so that appends cost amortised O(1)
// however long the list gets; the first allocation is exact.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace zun {

// Types whose objects may be moved to another address byte by byte, so
// that growing storage can be a realloc (which moves large blocks without
// copying them). Values and owning pointers are; strings with their inline
// buffer are not.
template <class T>
struct EIsRelocatable : std::is_trivially_copyable<T> {};
template <class T>
struct EIsRelocatable<std::unique_ptr<T>> : std::true_type {};

template <class T>
class EArray {
 public:
  EArray() = default;
  EArray(const EArray& other) { *this = other; }
  EArray(EArray&& other) noexcept { Swap(other); }
  EArray& operator=(const EArray& other) {
    if (this == &other) return *this;
    SetSize(0);
    Reserve(other.nCount);
    for (; nCount < other.nCount; ++nCount) new (pData + nCount) T(other.pData[nCount]);
    return *this;
  }
  EArray& operator=(EArray&& other) noexcept {
    if (this != &other) {
      EArray tmp;
      tmp.Swap(other);
      Swap(tmp);
    }
    return *this;
  }
  ~EArray() { SetSize(0); }

  int GetSize() const { return nCount; }
  bool IsEmpty() const { return nCount == 0; }

  // Returns false (and changes nothing) for a negative count.
  bool SetSize(int n) {
    if (n < 0) return false;
    if (n > nCapacity) Reserve(NextCapacity(n));
    for (; nCount < n; ++nCount) new (pData + nCount) T();
    while (nCount > n) pData[--nCount].~T();
    if (n == 0 && pData) {
      std::free(pData);
      pData = nullptr;
      nCapacity = 0;
    }
    return true;
  }

  T& Add(const T& v) {
    T copy(v);  // v may live in our own storage, which growing moves
    return Add(std::move(copy));
  }
  T& Add(T&& v) {
    if (nCount == nCapacity) {
      T taken(std::move(v));  // the same, for a v of our own
      Reserve(NextCapacity(int64_t{nCount} + 1));
      return *new (pData + nCount++) T(std::move(taken));
    }
    return *new (pData + nCount++) T(std::move(v));
  }

  void RemoveAll() { SetSize(0); }
  // Room for at least `capacity` elements, in one allocation.
  void Reserve(int capacity) {
    if (capacity <= nCapacity) return;
    Grow(capacity);
  }
  // Destroys the elements but keeps the storage, for a list about to be
  // filled again.
  void Clear() {
    while (nCount > 0) pData[--nCount].~T();
  }

  T& operator[](int i) { return pData[i]; }
  const T& operator[](int i) const { return pData[i]; }
  T* At(int i) { return i >= 0 && i < nCount ? &pData[i] : nullptr; }
  const T* At(int i) const { return i >= 0 && i < nCount ? &pData[i] : nullptr; }

  T* begin() { return pData; }
  T* end() { return pData + nCount; }
  const T* begin() const { return pData; }
  const T* end() const { return pData + nCount; }

  void Swap(EArray& other) noexcept {
    std::swap(pData, other.pData);
    std::swap(nCount, other.nCount);
    std::swap(nCapacity, other.nCapacity);
  }

 private:
  int NextCapacity(int64_t n) const {
    if (n > INT32_MAX) throw std::bad_alloc();  // more elements than a count can hold
    if (!pData) return static_cast<int>(n);
    int64_t grown = int64_t{nCapacity} + (nCapacity / 2 > 4 ? nCapacity / 2 : 4);
    if (grown > INT32_MAX) grown = INT32_MAX;
    return static_cast<int>(grown > n ? grown : n);
  }
  // Room for exactly `capacity` elements, more than there is room for.
  void Grow(int capacity) {
    size_t bytes = sizeof(T) * static_cast<size_t>(capacity);
    T* grown;
    if constexpr (EIsRelocatable<T>::value) {
      grown = static_cast<T*>(std::realloc(static_cast<void*>(pData), bytes));
      if (!grown) throw std::bad_alloc();
    } else {
      grown = static_cast<T*>(std::malloc(bytes));
      if (!grown) throw std::bad_alloc();
      for (int i = 0; i < nCount; ++i) {
        new (grown + i) T(std::move(pData[i]));
        pData[i].~T();
      }
      std::free(pData);
    }
    pData = grown;
    nCapacity = capacity;
  }

  T* pData = nullptr;
  int nCount = 0;
  int nCapacity = 0;
};

}  // namespace zun
