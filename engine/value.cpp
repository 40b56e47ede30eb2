// Values: conversions between the five types, comparison, printed forms and elements.
#include "engine/value.h"

#include "engine/operators.h"

#include "platform/system.h"

#include <cstdint>
#include <vector>

namespace zun {

namespace {

bool StartsLikeNumber(const u16& s) {
  if (s.empty()) return false;
  char16_t c = s[0];
  return IsDigit(c) || c == u'-' || c == u'+' || c == u'.';
}

}  // namespace

u16 GetTypeName(int32_t type) {
  switch (type) {
    case SEVT_EMPTY: return u"empty";
    case SEVT_DOUBLE: return u"double";
    case SEVT_INT: return u"int";
    case SEVT_STRING: return u"string";
    case SEVT_ARRAY: return u"array";
    default: return u"unknown type!";
  }
}

void EScriptValue::MoveShared(EScriptValue&& src) {
  if (this == &src) return;
  // src may be one of our own elements: take everything before replacing.
  EText s(std::move(src.strValue));
  EElements el(std::move(src.elements));
  EText nm(std::move(src.name));
  type = src.type;
  std::memcpy(&nValue, &src.nValue, sizeof nValue);
  strValue.Swap(s);
  elements.Swap(el);
  if (!nm.empty()) name.Swap(nm);
}

EScriptValue EScriptValue::String(u16 s) {
  EScriptValue v;
  v.type = SEVT_STRING;
  v.strValue.Set(std::move(s));
  return v;
}

EScriptValue EScriptValue::Text(EText s) {
  EScriptValue v;
  v.type = SEVT_STRING;
  v.strValue = std::move(s);
  return v;
}

EScriptValue EScriptValue::Array() {
  EScriptValue v;
  v.type = SEVT_ARRAY;
  return v;
}

void EScriptValue::CopyShared(const EScriptValue& src) {
  if (this == &src) return;
  if (!strValue.HasBody() && !elements.HasBody()) {
    // Nothing of ours to let go of, and no elements that src could be in.
    type = src.type;
    std::memcpy(&nValue, &src.nValue, sizeof nValue);
    strValue = src.strValue;
    elements = src.elements;
    if (!src.name.empty()) name = src.name;
    return;
  }
  // Take src's payloads first: src may live inside our own elements.
  EText s(src.strValue);
  EElements el(src.elements);
  EText nm(src.name);
  type = src.type;
  std::memcpy(&nValue, &src.nValue, sizeof nValue);
  strValue.Swap(s);
  elements.Swap(el);
  if (!nm.empty()) name.Swap(nm);
}

bool EScriptValue::IsSameCopyAs(const EScriptValue& o) const {
  return type == o.type && std::memcmp(&nValue, &o.nValue, sizeof nValue) == 0 && strValue.SharesWith(o.strValue) &&
         elements.SharesWith(o.elements) && name == o.name;
}

void EScriptValue::SetString(u16 text) {
  type = SEVT_STRING;
  strValue.Set(std::move(text));
}

namespace {

// A double's printed form: a whole number without decimals, any other with three.
u16 DoubleText(double d) {
  // The commonest first: a whole number's digits, without DoubleToString's checks.
  if (IsPrintedAsInt64(d)) return Int64ToString(static_cast<int64_t>(d));
  int64_t whole = TruncToInt64(d);
  bool exact = static_cast<double>(whole) == d;
  return DoubleToString(d, exact ? 0 : 3);
}

}  // namespace

void EScriptValue::AppendScalarText(u16& out) const {
  switch (type) {
    case SEVT_STRING: out += strValue.get(); break;
    case SEVT_INT: AppendInt64(out, nValue); break;
    case SEVT_DOUBLE:
      // A whole number's digits, as DoubleToString writes them, in place.
      if (IsPrintedAsInt64(dValue)) AppendInt64(out, static_cast<int64_t>(dValue));
      else out += DoubleText(dValue);
      break;
    default: break;
  }
}

// Nested arrays flatten into one comma list. The walk keeps its own stack,
// so arrays nested to any depth print without recursion.
void EScriptValue::AppendToString(u16& out) const {
  if (type != SEVT_ARRAY) {
    AppendScalarText(out);
    return;
  }
  // The commonest lists, printed without the stack (a packed one as it is).
  int32_t packedType = elements.PackedType();
  if (packedType || !HasNestedArray()) {
    int count = elements.GetSize();
    for (int i = 0; i < count; ++i) {
      if ((i + 1) % 65536 == 0 && platform::IsPauseAndControlHeld()) throw EStopRequested();
      if (i > 0) out += u',';
      if (!packedType) elements[i].AppendScalarText(out);
      else Number(packedType, elements.PackedAt(i)).AppendScalarText(out);
    }
    return;
  }
  struct Level {
    const EElements* list;
    int next;
  };
  std::vector<Level> stack{{&elements, 0}};
  for (uint32_t printed = 1; !stack.empty(); ++printed) {
    if (printed % 65536 == 0 && platform::IsPauseAndControlHeld()) throw EStopRequested();
    Level& level = stack.back();
    if (level.next == level.list->GetSize()) {
      stack.pop_back();
      continue;
    }
    if (level.next > 0) out += u',';
    const EScriptValue& e = (*level.list)[level.next++];
    if (e.type == SEVT_ARRAY) stack.push_back({&e.elements, 0});
    else e.AppendScalarText(out);
  }
}

inline bool EScriptValue::HasNestedArray() const {
  for (const EScriptValue& e : elements)
    if (e.type == SEVT_ARRAY) return true;
  return false;
}

u16 EScriptValue::ToString() const {
  if (type == SEVT_STRING) return strValue;
  u16 out;
  AppendToString(out);
  return out;
}

EText EScriptValue::ToText() const {
  switch (type) {
    case SEVT_STRING: return strValue;
    // A number's text straight into the shared body, without a string between.
    case SEVT_INT: return Int64ToString(nValue);
    case SEVT_DOUBLE: return DoubleText(dValue);
    default: return ToString();
  }
}

bool EScriptValue::GetDoubleOfText(double& out) const {
  if (!strValue.empty() && IsDigit(strValue[0])) {
    out = ReadDoublePrefix(strValue);
    return true;
  }
  out = 0.0;
  return false;
}

bool EScriptValue::ChangeType(int32_t newType) {
  if (newType == type) return true;
  switch (type) {
    case SEVT_EMPTY:
      dValue = 0.0;
      nValue = 0;
      type = newType;
      return true;
    case SEVT_STRING:
      if (newType != SEVT_DOUBLE && newType != SEVT_INT) return false;
      if (strValue.empty()) {
        SetDouble(0.0);  // a double even when an int was asked for
        return true;
      }
      if (!StartsLikeNumber(strValue)) {
        SetDouble(0.0);
        return false;
      }
      if (newType == SEVT_DOUBLE) SetDouble(ReadDoublePrefix(strValue));
      else SetInt64(ReadInt32Prefix(strValue));
      return true;
    case SEVT_DOUBLE:
      if (newType == SEVT_STRING) {
        SetString(DoubleToString(dValue, 10));
        return true;
      }
      if (newType == SEVT_INT) {
        SetInt64(TruncToInt64(dValue));
        return true;
      }
      return false;
    case SEVT_INT:
      if (newType == SEVT_STRING) {
        SetString(Int64ToString(nValue));
        return true;
      }
      if (newType == SEVT_DOUBLE) {
        SetDouble(static_cast<double>(nValue));
        return true;
      }
      return false;
    default: return false;
  }
}

bool EScriptValue::IsTrue() const {
  switch (type) {
    case SEVT_EMPTY: return false;
    case SEVT_INT: return nValue != 0;
    case SEVT_DOUBLE: return TruncToInt64(dValue) != 0;
    case SEVT_STRING: return StartsLikeNumber(strValue) && TruncToInt64(ReadDoublePrefix(strValue)) != 0;
    default: return strValue.empty();
  }
}

int EScriptValue::Compare(const EScriptValue& a, const EScriptValue& b) {
  // Two numbers of one type, the common case, read as the rules below read them.
  if (a.type == SEVT_DOUBLE && b.type == SEVT_DOUBLE) return a.dValue < b.dValue ? -1 : (a.dValue == b.dValue ? 0 : 1);
  if (a.type == SEVT_INT && b.type == SEVT_INT) return a.nValue < b.nValue ? -1 : (a.nValue == b.nValue ? 0 : 1);
  int32_t common = a.type;
  if (a.type != b.type) {
    EScriptValue converted(a);
    if (!converted.ChangeType(b.type)) return -2;
    common = b.type;
  }
  switch (common) {
    case SEVT_STRING: return CollateNoCase(a.ToString(), b.ToString());
    case SEVT_INT: {
      int64_t x = a.AsInt64(), y = b.AsInt64();
      return x < y ? -1 : (x == y ? 0 : 1);
    }
    case SEVT_DOUBLE: {
      double x = a.AsDouble(), y = b.AsDouble();
      if (x < y) return -1;
      return x == y ? 0 : 1;
    }
    default: return -2;
  }
}

bool EScriptValue::Add(const EScriptValue& src) {
  if (type == SEVT_ARRAY) {
    elements.Add(src);
    return true;
  }
  if (type == SEVT_EMPTY && src.type == SEVT_ARRAY) {
    EScriptValue copy(src);
    type = SEVT_ARRAY;
    elements.RemoveAll();
    elements.Add(std::move(copy));
    return true;
  }
  if (type == SEVT_EMPTY) ChangeType(src.type);
  auto addNumber = [this, &src] {
    if (type == SEVT_DOUBLE) dValue += src.AsDouble();
    else nValue = WrapAdd(nValue, src.AsInt64());
  };
  if (IsNumber() && src.IsNumber()) {
    addNumber();
    return true;
  }
  if (!ChangeType(src.type)) return false;
  if (type == SEVT_STRING && !src.strValue.empty()) strValue.Edit() += src.strValue.get();
  else if (IsNumber()) addNumber();
  return true;
}

bool EScriptValue::AppendElement(const EScriptValue& src) {
  if (type != SEVT_ARRAY) return false;
  elements.Add(src);
  return true;
}

u16 EScriptValue::GetInfo() const {
  u16 out = u"type:";
  out += GetTypeName(type);
  out += u",value:";
  AppendToString(out);
  out += u",name in array:";
  out += name;
  return out;
}

const EScriptValue* EScriptValue::GetElementAt(int64_t index) const {
  if (!HasElementAt(index)) return nullptr;
  return &elements[static_cast<int>(index)];
}

bool EScriptValue::SetElementAt(int64_t index, const EScriptValue& v) {
  if (!HasElementAt(index)) return false;
  elements.Set(static_cast<int>(index), v);
  return true;
}

int EScriptValue::FindElementIndexByName(const u16& key) const {
  return type == SEVT_ARRAY ? elements.FindByName(key) : -1;
}

const EScriptValue* EScriptValue::FindElementByName(const u16& key) const {
  return elements.At(FindElementIndexByName(key));
}

bool EScriptValue::AddElementByName(const u16& key, const EScriptValue& value) {
  if (type != SEVT_ARRAY) return false;
  elements.AddNamed(key, value);
  return true;
}

int EScriptValue::GetOrAddElementIndexByName(const EText& key, bool& created) {
  if (type != SEVT_ARRAY) return -1;
  int i = elements.FindByName(key);
  if (i >= 0) return i;
  elements.AddNamed(key, EScriptValue());
  created = true;
  return elements.GetSize() - 1;
}

const EScriptValue* EScriptValue::GetOrAddElementByName(const u16& key, bool& created) {
  return elements.At(GetOrAddElementIndexByName(key, created));
}

}  // namespace zun
