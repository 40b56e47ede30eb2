// EText: a UTF-16 string that copies share until one of them changes.
//
// Values are copied on every read, assignment and argument; sharing makes
// those copies O(1) while each copy still behaves as its own string. The
// count is not atomic: an engine and its values live on one thread.
#pragma once

#include <cstdint>
#include <utility>

#include "text/text.h"

namespace zun {

class EText {
 public:
  EText() = default;
  EText(u16 s) { Set(std::move(s)); }  // NOLINT: a string is a text
  EText(const char16_t* s) : EText(u16(s)) {}
  EText(const EText& o) : pBody(o.pBody) {
    if (pBody) ++pBody->refs;
  }
  EText(EText&& o) noexcept : pBody(o.pBody) { o.pBody = nullptr; }
  EText& operator=(const EText& o) {
    EText copy(o);  // o may be owned by something our old text keeps alive
    Swap(copy);
    return *this;
  }
  EText& operator=(EText&& o) noexcept {
    EText taken(std::move(o));
    Swap(taken);
    return *this;
  }
  EText& operator=(u16 s) {
    Set(std::move(s));
    return *this;
  }
  EText& operator=(const char16_t* s) { return *this = u16(s); }
  ~EText() { Release(); }

  const u16& get() const { return pBody ? pBody->text : Empty(); }
  operator const u16&() const { return get(); }  // NOLINT: read as a string
  operator u16view() const { return get(); }     // NOLINT
  bool empty() const { return !pBody || pBody->text.empty(); }
  bool HasBody() const { return pBody != nullptr; }
  size_t size() const { return pBody ? pBody->text.size() : 0; }
  char16_t operator[](size_t i) const { return pBody->text[i]; }

  // The string to change in place: unshared first, so no other copy sees it.
  u16& Edit() {
    if (!pBody) pBody = NewBody(u16());
    else if (pBody->refs > 1) {
      Body* own = NewBody(u16(pBody->text));
      --pBody->refs;
      pBody = own;
    }
    return pBody->text;
  }
  // Takes s's characters (a short string's are copied however it is
  // passed, so it is passed by reference all the way to the body).
  void Set(u16&& s) {
    if (s.empty()) {
      Release();
      return;
    }
    if (pBody && pBody->refs == 1) {
      pBody->text = std::move(s);
      return;
    }
    Release();
    pBody = NewBody(std::move(s));
  }
  void Swap(EText& o) noexcept { std::swap(pBody, o.pBody); }
  bool SharesWith(const EText& o) const { return pBody == o.pBody; }

  friend bool operator==(const EText& a, const EText& b) {
    return a.pBody == b.pBody || (a.size() == b.size() && a.get() == b.get());
  }
  friend bool operator==(const EText& a, const u16& b) { return a.get() == b; }
  friend bool operator==(const u16& a, const EText& b) { return a == b.get(); }
  friend bool operator==(const EText& a, u16view b) { return u16view(a.get()) == b; }
  friend bool operator==(const EText& a, const char16_t* b) { return u16view(a.get()) == u16view(b); }
  template <class T>
  friend bool operator!=(const EText& a, const T& b) {
    return !(a == b);
  }
  friend u16 operator+(const u16& a, const EText& b) { return a + b.get(); }
  friend u16 operator+(const char16_t* a, const EText& b) { return a + b.get(); }
  friend u16 operator+(const EText& a, const u16& b) { return a.get() + b; }
  friend u16 operator+(const EText& a, const char16_t* b) { return a.get() + b; }

 private:
  struct Body {
    int32_t refs;
    u16 text;
  };
  // A body of one reference (shared_text.cpp: the storage of bodies let go
  // of is kept for the next, as strings are made and dropped on almost every
  // step of a script).
  static Body* NewBody(u16&& s);
  static void DeleteBody(Body* b);
  static const u16& Empty() {
    static const u16 empty;
    return empty;
  }
  void Release() {
    if (pBody && --pBody->refs == 0) DeleteBody(pBody);
    pBody = nullptr;
  }

  Body* pBody = nullptr;
};

}  // namespace zun
