// The engine's one growable array.
//
// Every list of the engine (array elements, scope objects, the scope stack)
// grows by the same rule: a new capacity of max(capacity + step, count) where
// step is half the capacity, at least 4, so that appends cost amortised O(1)
// however long the list gets; the first allocation is exact.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

namespace zun {

template <class T>
class EArray {
 public:
  EArray() = default;
  EArray(const EArray& other) { *this = other; }
  EArray(EArray&& other) noexcept { Swap(other); }
  EArray& operator=(const EArray& other) {
    if (this == &other) return *this;
    SetSize(0);
    SetSize(other.count_);
    for (int i = 0; i < count_; ++i) data_[i] = other.data_[i];
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
  ~EArray() = default;

  int GetSize() const { return count_; }
  int GetCapacity() const { return capacity_; }
  bool IsEmpty() const { return count_ == 0; }

  // Returns false (and changes nothing) for a negative count.
  bool SetSize(int n) {
    if (n < 0) return false;
    if (n == 0) {
      data_.reset();
      count_ = capacity_ = 0;
      return true;
    }
    if (n > capacity_) {
      int newCap = n;
      if (data_) {
        int64_t grown = int64_t{capacity_} + (capacity_ / 2 > 4 ? capacity_ / 2 : 4);
        if (grown > INT32_MAX) grown = INT32_MAX;
        newCap = grown > n ? static_cast<int>(grown) : n;
      }
      std::unique_ptr<T[]> grown(new T[static_cast<size_t>(newCap)]);
      for (int i = 0; i < count_; ++i) grown[i] = std::move(data_[i]);
      data_ = std::move(grown);
      capacity_ = newCap;
    } else {
      // Elements past the new count are destroyed: reset them to defaults.
      for (int i = n; i < count_; ++i) data_[i] = T();
    }
    count_ = n;
    return true;
  }

  T& Add(const T& v) {
    T copy(v);  // v may live in our own storage, which SetSize can move
    SetSize(count_ + 1);
    data_[count_ - 1] = std::move(copy);
    return data_[count_ - 1];
  }
  T& Add(T&& v) {
    SetSize(count_ + 1);
    data_[count_ - 1] = std::move(v);
    return data_[count_ - 1];
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

  T* begin() { return data_.get(); }
  T* end() { return data_.get() + count_; }
  const T* begin() const { return data_.get(); }
  const T* end() const { return data_.get() + count_; }

  void Swap(EArray& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(count_, other.count_);
    std::swap(capacity_, other.capacity_);
  }

 private:
  std::unique_ptr<T[]> data_;
  int count_ = 0;
  int capacity_ = 0;
};

}  // namespace zun
