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
// change. Reading never copies (but a packed list unpacks, once: see Body);
// every change goes through the operations below, which keep the name index
// (built on the first lookup by name) and the packed form in step with
// appends and stores: no other way to change an element exists.
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
  // The type of a packed list's numbers (see Body), SEVT_INT or
  // SEVT_DOUBLE; 0 for a list of values.
  int32_t PackedType() const;
  // The number's bits of element i (in range) of a packed list, where
  // they are.
  const int64_t& PackedAt(int i) const;
  // Element i's number where it is, without unpacking: its type and bits,
  // and the value that holds it (null in a packed list); false when i is
  // out of range or the element holds no number.
  bool NumberAt(int64_t i, int32_t& type, int64_t& bits, const EScriptValue*& value) const;
  // Reading an element as a value unpacks a packed list first.
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
  // Element i (in range) of a packed list := a plain number of its type.
  void SetPacked(int i, int64_t bits);
  // Appends a plain number of its type to a packed list.
  void AddPacked(int64_t bits);
  void RemoveAll() { Release(); }
  // Room for n elements in all, made at once (for a list whose size is known).
  void Reserve(int n);

  void Swap(EElements& o) noexcept { std::swap(pBody, o.pBody); }
  bool SharesWith(const EElements& o) const { return pBody == o.pBody; }
  bool HasBody() const { return pBody != nullptr; }

 private:
  struct Body;
  static const EArray<EScriptValue>& Values(Body* b);
  static void Unpack(Body* b);
  static void Pack(Body* b);
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
    else if (!strValue.HasBody() && !elements.HasBody()) MoveIntoBare(src);
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
  // A number of `numberType` (SEVT_INT or SEVT_DOUBLE) from its bits.
  static EScriptValue Number(int32_t numberType, int64_t bits) {
    EScriptValue v;
    v.type = numberType;
    v.nValue = bits;
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
  // An element at this position: an array's, in range.
  bool HasElementAt(int64_t index) const;
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
  // MoveShared into a value that holds no payload, so src is none of its
  // elements (a result made by a built-in, a new value): src's parts are
  // taken in place, and src is left as MoveShared leaves it.
  void MoveIntoBare(EScriptValue& src) {
    type = src.type;
    std::memcpy(&nValue, &src.nValue, sizeof nValue);
    strValue.Swap(src.strValue);
    elements.Swap(src.elements);
    EText nm(std::move(src.name));
    if (!nm.empty()) name.Swap(nm);
  }
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
//
// A long list of plain numbers of one type (all ints or all doubles, with
// no name and no payload) is kept packed: the numbers' bits alone, 8 bytes
// each instead of a value's 40, so that a list built by appending numbers
// takes a fifth of the memory, and the executor reads and stores its
// numbers where they are. A list packs once, when it grows to kPackFrom
// elements (short lists stay values: they are read as values most); the
// first reading of an element as a value, or a store of anything else,
// unpacks it for good. No list therefore changes form more than twice, and
// no value's address is ever taken in a packed list.
struct EElements::Body {
  static constexpr int kPackFrom = 64;
  int32_t refs = 1;
  int32_t packedType = 0;             // the numbers' type when packed, else 0
  bool mayPack = true;                // false once it has unpacked, or failed to pack
  EArray<EScriptValue> items;         // the elements, unless packed
  EArray<int64_t> numbers;            // the elements' numbers, when packed
  std::unique_ptr<ENameIndex> index;  // built on the first lookup by name
  Body* nextToDestroy = nullptr;
};

// A value with no payload and no name: a copy of it is its type and number.
inline bool IsBare(const EScriptValue& v) {
  return !(int{v.strValue.HasBody()} | int{v.elements.HasBody()} | int{v.name.HasBody()});
}
// A value that a packed list of `type` holds as its number alone.
inline bool IsPlainNumber(const EScriptValue& v, int32_t type) { return v.type == type && IsBare(v); }

inline EElements::EElements(const EElements& o) : pBody(o.pBody) {
  if (pBody) ++pBody->refs;
}
inline void EElements::Release() {
  Body* b = pBody;
  pBody = nullptr;
  if (b && --b->refs == 0) Destroy(b);
}
inline void EElements::Reserve(int n) {
  if (n <= 0) return;
  Body* b = Unshared();
  if (b->packedType) b->numbers.Reserve(n);
  else b->items.Reserve(n);
}
inline const EArray<EScriptValue>& EElements::Values(Body* b) {
  if (b->packedType) [[unlikely]]
    Unpack(b);
  return b->items;
}
inline int EElements::GetSize() const {
  if (!pBody) return 0;
  return pBody->packedType ? pBody->numbers.GetSize() : pBody->items.GetSize();
}
inline void EElements::SetPacked(int i, int64_t bits) {
  Body* b = pBody->refs == 1 ? pBody : Unshared();
  b->numbers[i] = bits;
}
inline void EElements::AddPacked(int64_t bits) {
  Body* b = pBody->refs == 1 ? pBody : Unshared();
  b->numbers.Add(bits);
}
inline bool EScriptValue::HasElementAt(int64_t index) const {
  return type == SEVT_ARRAY && index >= 0 && index < elements.GetSize();
}
inline int32_t EElements::PackedType() const { return pBody ? pBody->packedType : 0; }
inline const int64_t& EElements::PackedAt(int i) const { return pBody->numbers[i]; }
inline const EScriptValue& EElements::operator[](int i) const { return Values(pBody)[i]; }
inline const EScriptValue* EElements::begin() const { return pBody ? Values(pBody).begin() : nullptr; }
inline const EScriptValue* EElements::end() const { return pBody ? Values(pBody).end() : nullptr; }
inline bool EElements::NumberAt(int64_t i, int32_t& type, int64_t& bits, const EScriptValue*& value) const {
  const Body* b = pBody;
  if (!b || i < 0) return false;
  if (b->packedType) {
    if (i >= b->numbers.GetSize()) return false;
    type = b->packedType;
    bits = b->numbers[static_cast<int>(i)];
    value = nullptr;
    return true;
  }
  if (i >= b->items.GetSize()) return false;
  const EScriptValue& v = b->items[static_cast<int>(i)];
  if (!v.IsNumber()) return false;
  type = v.type;
  bits = v.nValue;
  value = &v;
  return true;
}

}  // namespace zun
