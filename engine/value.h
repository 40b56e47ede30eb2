// EScriptValue: the variant every script datum is.
//
// Values behave as deep copies: a copy never changes when the original does.
// Strings and element lists are shared between copies and unshared just
// before one of them changes, so copying a value costs O(1) whatever it holds.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "engine/containers.h"
#include "engine/shared_text.h"
#include "text/text.h"

namespace zun {

enum : int32_t {
  SEVT_EMPTY = 1,
  SEVT_DOUBLE = 2,
  SEVT_INT = 3,
  SEVT_STRING = 4,
  SEVT_ARRAY = 5,
};

u16 GetTypeName(int32_t type);

// Thrown out of the printing of a value so large that it is still printing
// when the run is asked to stop (values shared many times over can print to
// more text than memory holds); the engine ends the statement with the
// pause error.
struct EStopRequested {};

class EScriptValue;
class ENameIndex;

// The elements of an array value: shared between copies, unshared before a
// change. Reading never copies; every change goes through the operations
// below, which keep the name index (built on the first lookup by name) in
// step with appends and renames: no other way to change an element exists.
class EElements {
 public:
  EElements() = default;
  EElements(const EElements& o);
  EElements(EElements&& o) noexcept : pBody(o.pBody) { o.pBody = nullptr; }
  EElements& operator=(const EElements& o) {
    EElements copy(o);  // o may live inside our own elements
    Swap(copy);
    return *this;
  }
  EElements& operator=(EElements&& o) noexcept {
    EElements taken(std::move(o));
    Swap(taken);
    return *this;
  }
  ~EElements() { Release(); }

  int GetSize() const;
  bool IsEmpty() const { return GetSize() == 0; }
  const EScriptValue& operator[](int i) const;
  const EScriptValue* At(int i) const { return i >= 0 && i < GetSize() ? &(*this)[i] : nullptr; }
  const EScriptValue* begin() const;
  const EScriptValue* end() const;
  // The first position whose element is named `key` ("" finds the first
  // unnamed element), or -1.
  int FindByName(u16view key) const;

  // Appends a copy (NAME_COPY_IF_SET onto a new element: it keeps v's name).
  void Add(const EScriptValue& v);
  void Add(EScriptValue&& v);
  // Appends a copy of v named `key`, whatever name v carried.
  void AddNamed(const EText& key, const EScriptValue& v);
  // Element i := v with NAME_COPY_IF_SET.
  void Set(int i, const EScriptValue& v);
  // Element i, to change in place; its name must stay as it is.
  EScriptValue& EditAt(int i);
  void RemoveAll() { Release(); }
  // Room for n elements in all, made at once (for a list whose size is known).
  void Reserve(int n);

  void Swap(EElements& o) noexcept { std::swap(pBody, o.pBody); }
  bool SharesWith(const EElements& o) const { return pBody == o.pBody; }
  bool HasBody() const { return pBody != nullptr; }

 private:
  struct Body;
  Body* Unshared();
  void Release();
  static void Destroy(Body* b);

  Body* pBody = nullptr;
};

class EScriptValue {
 public:
  int32_t type = SEVT_EMPTY;
  // Only the payload that `type` names has a meaning; each change of type
  // writes the number it moves to, so the two numbers can share storage.
  union {
    double dValue = 0.0;
    int64_t nValue;
  };
  EText strValue;
  EElements elements;
  EText name;

  EScriptValue() = default;
  EScriptValue(const EScriptValue& src) { CopyFrom(src); }
  // A move gives the same result as a copy (the new value has no name of its
  // own, so it takes the source's).
  EScriptValue(EScriptValue&& src) noexcept
      : type(src.type),
        strValue(std::move(src.strValue)),
        elements(std::move(src.elements)),
        name(std::move(src.name)) {
    std::memcpy(&nValue, &src.nValue, sizeof nValue);
  }
  EScriptValue& operator=(const EScriptValue& src) {
    CopyFrom(src);
    return *this;
  }
  // NAME_COPY_IF_SET, like CopyFrom, without copying anything.
  EScriptValue& operator=(EScriptValue&& src) noexcept {
    if (NoPayloads(src)) CopyNumber(src);
    else MoveShared(std::move(src));
    return *this;
  }
  ~EScriptValue() = default;

  static EScriptValue Int(int64_t n) {
    EScriptValue v;
    v.SetInt64(n);
    return v;
  }
  static EScriptValue Double(double d) {
    EScriptValue v;
    v.SetDouble(d);
    return v;
  }
  static EScriptValue String(u16 s);
  static EScriptValue Text(EText s);
  static EScriptValue Array();

  // Copies everything; the name follows NAME_COPY_IF_SET: this value takes
  // the source's name only when that name is not empty.
  void CopyFrom(const EScriptValue& src) {
    if (NoPayloads(src)) CopyNumber(src);
    else CopyShared(src);
  }
  // Lets go of the payloads but keeps the name: for a value that is about
  // to be overwritten, so that it shares nothing in the meantime.
  void KeepNameOnly() {
    type = SEVT_EMPTY;
    nValue = 0;  // as a new value's
    if (strValue.HasBody()) strValue = EText();
    if (elements.HasBody()) elements.RemoveAll();
  }
  // Same type, same payloads and same name: an unchanged copy of `o`.
  bool IsSameCopyAs(const EScriptValue& o) const;

  void SetString(u16 text);
  void SetInt64(int64_t n) {
    type = SEVT_INT;
    nValue = n;
  }
  void SetDouble(double d) {
    type = SEVT_DOUBLE;
    dValue = d;
  }
  bool IsNumber() const { return type == SEVT_DOUBLE || type == SEVT_INT; }
  bool IsArray() const { return type == SEVT_ARRAY; }

  u16 ToString() const;
  // The same text, shared with this value when it is a string.
  EText ToText() const;
  bool GetDouble(double& out) const {
    if (type == SEVT_DOUBLE) out = dValue;
    else if (type == SEVT_INT) out = static_cast<double>(nValue);
    else return GetDoubleOfText(out);
    return true;
  }
  double AsDouble() const {
    double d = 0.0;
    GetDouble(d);
    return d;
  }
  bool GetInt64(int64_t& out) const {
    if (type == SEVT_INT) {
      out = nValue;
      return true;
    }
    double d = 0.0;
    bool ok = GetDouble(d);
    out = ok ? TruncToInt64(d) : 0;
    return ok;
  }
  int64_t AsInt64() const {
    int64_t n = 0;
    GetInt64(n);
    return n;
  }
  bool ChangeType(int32_t newType);
  bool IsTrue() const;
  // -1, 0, +1; -2 when the two cannot be compared.
  static int Compare(const EScriptValue& a, const EScriptValue& b);
  bool Add(const EScriptValue& src);
  bool AppendElement(const EScriptValue& src);
  u16 GetInfo() const;

  // Element access of array values (none / -1 / false when not an array).
  const EScriptValue* GetElementAt(int64_t index) const;
  bool SetElementAt(int64_t index, const EScriptValue& v);
  int FindElementIndexByName(const u16& key) const;
  const EScriptValue* FindElementByName(const u16& key) const;
  bool AddElementByName(const u16& key, const EScriptValue& value);
  const EScriptValue* GetOrAddElementByName(const u16& key, bool& created);
  int GetOrAddElementIndexByName(const EText& key, bool& created);
  int GetElementCount() const { return elements.GetSize(); }

 private:
  // Neither value holds a string or elements, and src has no name: a copy
  // is then the type and the number.
  bool NoPayloads(const EScriptValue& src) const {
    return !(int{strValue.HasBody()} | int{elements.HasBody()} | int{src.strValue.HasBody()} |
             int{src.elements.HasBody()} | int{src.name.HasBody()});
  }
  void CopyNumber(const EScriptValue& src) {
    type = src.type;
    std::memcpy(&nValue, &src.nValue, sizeof nValue);
  }
  void CopyShared(const EScriptValue& src);
  // GetDouble of anything but a number: a text that starts with a digit.
  bool GetDoubleOfText(double& out) const;
  void MoveShared(EScriptValue&& src);
  void AppendScalarText(u16& out) const;
  void AppendToString(u16& out) const;
  bool HasNestedArray() const;
};

// A value is a tag, a number and three owning pointers: it may be moved
// byte by byte.
template <>
struct EIsRelocatable<EScriptValue> : std::true_type {};
static_assert(sizeof(EText) == sizeof(void*) && sizeof(EElements) == sizeof(void*),
              "each payload is one pointer to a body elsewhere, never into the value: moving the bytes moves it");
static_assert(sizeof(EScriptValue) == 40, "a value is 40 bytes: a million elements' memory rests on it");

// The shared body of an element list.
struct EElements::Body {
  int32_t refs = 1;
  EArray<EScriptValue> items;
  std::unique_ptr<ENameIndex> index;  // built on the first lookup by name
  Body* nextToDestroy = nullptr;
};

inline EElements::EElements(const EElements& o) : pBody(o.pBody) {
  if (pBody) ++pBody->refs;
}
inline void EElements::Release() {
  Body* b = pBody;
  pBody = nullptr;
  if (b && --b->refs == 0) Destroy(b);
}
inline void EElements::Reserve(int n) {
  if (n > 0) Unshared()->items.Reserve(n);
}
inline int EElements::GetSize() const { return pBody ? pBody->items.GetSize() : 0; }
inline const EScriptValue& EElements::operator[](int i) const { return pBody->items[i]; }
inline const EScriptValue* EElements::begin() const { return pBody ? pBody->items.begin() : nullptr; }
inline const EScriptValue* EElements::end() const { return pBody ? pBody->items.end() : nullptr; }

}  // namespace zun
