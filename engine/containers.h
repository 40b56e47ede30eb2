// The engine's one growable array.
//
// Every list of the engine (array elements, scope objects, the scope stack)
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
    Reserve(other.count_);
    for (; count_ < other.count_; ++count_) new (data_ + count_) T(other.data_[count_]);
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

  int GetSize() const { return count_; }
  int GetCapacity() const { return capacity_; }
  bool IsEmpty() const { return count_ == 0; }

  // Returns false (and changes nothing) for a negative count.
  bool SetSize(int n) {
    if (n < 0) return false;
    if (n > capacity_) Reserve(NextCapacity(n));
    for (; count_ < n; ++count_) new (data_ + count_) T();
    while (count_ > n) data_[--count_].~T();
    if (n == 0) {
      std::free(data_);
      data_ = nullptr;
      capacity_ = 0;
    }
    return true;
  }

  T& Add(const T& v) {
    T copy(v);  // v may live in our own storage, which growing moves
    return Add(std::move(copy));
  }
  T& Add(T&& v) {
    if (count_ == capacity_) {
      T taken(std::move(v));  // the same, for a v of our own
      Reserve(NextCapacity(int64_t{count_} + 1));
      return *new (data_ + count_++) T(std::move(taken));
    }
    return *new (data_ + count_++) T(std::move(v));
  }

  // Removes n elements starting at index (used to pop the top scope).
  void RemoveAt(int index, int n = 1) {
    if (index < 0 || n <= 0 || index >= count_) return;
    if (n > count_ - index) n = count_ - index;
    for (int i = index; i + n < count_; ++i) data_[i] = std::move(data_[i + n]);
    SetSize(count_ - n);
  }

  void RemoveAll() { SetSize(0); }

  T& operator[](int i) { return data_[i]; }
  const T& operator[](int i) const { return data_[i]; }
  T* At(int i) { return i >= 0 && i < count_ ? &data_[i] : nullptr; }
  const T* At(int i) const { return i >= 0 && i < count_ ? &data_[i] : nullptr; }

  T* begin() { return data_; }
  T* end() { return data_ + count_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + count_; }

  void Swap(EArray& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(count_, other.count_);
    std::swap(capacity_, other.capacity_);
  }

 private:
  int NextCapacity(int64_t n) const {
    if (n > INT32_MAX) throw std::bad_alloc();  // more elements than a count can hold
    if (!data_) return static_cast<int>(n);
    int64_t grown = int64_t{capacity_} + (capacity_ / 2 > 4 ? capacity_ / 2 : 4);
    if (grown > INT32_MAX) grown = INT32_MAX;
    return static_cast<int>(grown > n ? grown : n);
  }
  // Room for exactly `capacity` elements (never fewer than there are).
  void Reserve(int capacity) {
    if (capacity <= capacity_) return;
    size_t bytes = sizeof(T) * static_cast<size_t>(capacity);
    T* grown;
    if constexpr (EIsRelocatable<T>::value) {
      grown = static_cast<T*>(std::realloc(static_cast<void*>(data_), bytes));
      if (!grown) throw std::bad_alloc();
    } else {
      grown = static_cast<T*>(std::malloc(bytes));
      if (!grown) throw std::bad_alloc();
      for (int i = 0; i < count_; ++i) {
        new (grown + i) T(std::move(data_[i]));
        data_[i].~T();
      }
      std::free(data_);
    }
    data_ = grown;
    capacity_ = capacity;
  }

  T* data_ = nullptr;
  int count_ = 0;
  int capacity_ = 0;
};

}  // namespace zun
