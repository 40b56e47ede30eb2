// EScriptValue: the variant every script datum is.
#pragma once

#include <cstdint>

#include "engine/containers.h"
#include "engine/text.h"

namespace zun {

enum : int32_t {
  SEVT_EMPTY = 1,
  SEVT_DOUBLE = 2,
  SEVT_INT = 3,
  SEVT_STRING = 4,
  SEVT_ARRAY = 5,
};

u16 GetTypeName(int32_t type);

class EScriptValue {
 public:
  int32_t type = SEVT_EMPTY;
  double dValue = 0.0;
  u16 strValue;
  int64_t nValue = 0;
  EArray<EScriptValue> elements;
  u16 name;

  EScriptValue() = default;
  EScriptValue(const EScriptValue& src) { CopyFrom(src); }
  // A move gives the same result as a copy (the new value has no name of its
  // own, so it takes the source's); it only avoids the deep copy.
  EScriptValue(EScriptValue&& src) noexcept;
  EScriptValue& operator=(const EScriptValue& src) {
    if (this != &src) CopyFrom(src);
    return *this;
  }
  EScriptValue& operator=(EScriptValue&& src) noexcept;
  virtual ~EScriptValue();

  static EScriptValue Int(int64_t n);
  static EScriptValue Double(double d);
  static EScriptValue String(u16 s);
  static EScriptValue Array();

  // Copies everything; the name follows NAME_COPY_IF_SET: this value takes
  // the source's name only when that name is not empty.
  void CopyFrom(const EScriptValue& src);

  void SetString(u16 text);
  void SetInt64(int64_t n);
  void SetDouble(double d);
  bool IsNumber() const { return type == SEVT_DOUBLE || type == SEVT_INT; }
  bool IsArray() const { return type == SEVT_ARRAY; }

  u16 ToString() const;
  bool GetDouble(double& out) const;
  double AsDouble() const;
  bool GetInt64(int64_t& out) const;
  int64_t AsInt64() const;
  bool ChangeType(int32_t newType);
  bool IsTrue() const;
  // -1, 0, +1; -2 when the two cannot be compared.
  static int Compare(const EScriptValue& a, const EScriptValue& b);
  bool Add(const EScriptValue& src);
  bool AppendElement(const EScriptValue& src);
  u16 GetInfo() const;

  // Element access of array values (none / -1 / false when not an array).
  EScriptValue* GetElementAt(int64_t index);
  int FindElementIndexByName(const u16& key) const;
  EScriptValue* FindElementByName(const u16& key);
  bool AddElementByName(const u16& key, const EScriptValue& value);
  EScriptValue* GetOrAddElementByName(const u16& key, bool& created);
  int GetElementCount() const { return elements.GetSize(); }

 private:
  void AppendToString(u16& out) const;
};

}  // namespace zun
