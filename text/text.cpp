// Conversions between UTF-16 text and UTF-8, and the character classes the lexer uses.
#include "text/text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace zun {

u16 FromAscii(std::string_view s) { return u16(s.begin(), s.end()); }

u16 FromUtf8(std::string_view s) {
  // Each ill-formed sequence becomes one U+FFFD per maximal part that could
  // have begun a character (the Unicode recommendation), so nothing invalid
  // (overlong forms, surrogates, values past U+10FFFF) gets through.
  u16 out;
  out.reserve(s.size());
  size_t i = 0;
  auto byte = [&s](size_t k) { return static_cast<unsigned char>(s[k]); };
  while (i < s.size()) {
    unsigned char c = byte(i);
    if (c < 0x80) {
      out.push_back(c);
      ++i;
      continue;
    }
    int len = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) len = 2;
    else if (c >= 0xE0 && c <= 0xEF) len = 3, lo = c == 0xE0 ? 0xA0 : 0x80, hi = c == 0xED ? 0x9F : 0xBF;
    else if (c >= 0xF0 && c <= 0xF4) len = 4, lo = c == 0xF0 ? 0x90 : 0x80, hi = c == 0xF4 ? 0x8F : 0xBF;
    uint32_t cp = len == 2 ? c & 0x1Fu : len == 3 ? c & 0x0Fu : c & 0x07u;
    int taken = 1;
    for (; len > 0 && taken < len && i + taken < s.size(); ++taken) {
      unsigned char d = byte(i + taken);
      if (d < (taken == 1 ? lo : 0x80) || d > (taken == 1 ? hi : 0xBF)) break;
      cp = (cp << 6) | (d & 0x3Fu);
    }
    i += taken;
    if (len == 0 || taken < len) {
      out.push_back(0xFFFD);
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string ToUtf8(u16view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // a lone surrogate has no UTF-8 form
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsHexDigit(char16_t c) { return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

bool IsSpaceBeyondAscii(char16_t c) {
  if (c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A)) return true;
  return c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// Letters: ASCII and Latin-1 letters exactly; above U+00FF every unit that is
// not in a punctuation, symbol, space or surrogate block counts as a letter.
// That keeps identifiers in any script usable without a Unicode database.
bool IsLetter(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  if (c < 0x100) return c == 0xAA || c == 0xB5 || c == 0xBA || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
  if (c >= 0x2000 && c <= 0x2BFF) return false;  // punctuation, symbols, arrows, boxes
  if (c >= 0x3000 && c <= 0x303F) return false;  // CJK punctuation
  if (c >= 0xD800 && c <= 0xDFFF) return false;  // surrogates
  if (c >= 0xE000 && c <= 0xF8FF) return false;  // private use
  if (c >= 0xFE30 && c <= 0xFE6F) return false;  // CJK compatibility forms
  if (c >= 0xFF00 && c <= 0xFF20) return false;  // full-width punctuation and digits
  if (c >= 0xFFF0) return false;
  return !IsSpace(c);
}

char16_t ToUpper(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (c < 0xE0) return c;
  if (c <= 0xFE) return c == 0xF7 ? c : static_cast<char16_t>(c - 32);
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A: pairs are even/odd, except 0x139..0x148 and
    // 0x179..0x17E where they are odd/even; 0x131 and 0x138 have none.
    bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    bool isLower = oddUpper ? (c % 2 == 0) : (c % 2 == 1);
    return isLower ? static_cast<char16_t>(c - 1) : c;
  }
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 32);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 32);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  return c;
}

char16_t ToLower(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c < 0xC0) return c;
  if (c <= 0xDE) return c == 0xD7 ? c : static_cast<char16_t>(c + 32);
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x17F) {
    bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    bool isUpper = oddUpper ? (c % 2 == 1) : (c % 2 == 0);
    return isUpper ? static_cast<char16_t>(c + 1) : c;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 32);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  return c;
}

// (ASCII, the commonest, without a call.)
u16 ToUpper(u16view s) {
  u16 out(s);
  for (auto& c : out) c = c < 0x80 ? (c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c) : ToUpper(c);
  return out;
}

u16 ToLower(u16view s) {
  u16 out(s);
  for (auto& c : out) c = c < 0x80 ? (c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c) : ToLower(c);
  return out;
}

static int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

int Collate(u16view a, u16view b) { return Sign(a.compare(b)); }

int CollateNoCase(u16view a, u16view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    char16_t x = ToLower(a[i]), y = ToLower(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

double ReadDoublePrefix(u16view s) {
  size_t i = 0;
  while (i < s.size() && IsSpace(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  std::string ascii;
  size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) {
    ascii.push_back(static_cast<char>(s[i++]));
    ++digits;
  }
  if (i < s.size() && s[i] == u'.') {
    ascii.push_back('.');
    ++i;
    while (i < s.size() && IsDigit(s[i])) {
      ascii.push_back(static_cast<char>(s[i++]));
      ++digits;
    }
  }
  if (digits == 0) return 0.0;
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
    size_t j = i + 1;
    std::string exp = "e";
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) exp.push_back(static_cast<char>(s[j++]));
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) exp.push_back(static_cast<char>(s[j++]));
      ascii += exp;
    }
  }
  double value = 0.0;
  auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (res.ec == std::errc::result_out_of_range) {
    // Overflow reads as infinity, underflow as zero, as strtod does.
    bool tiny = ascii.find("e-") != std::string::npos;
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  }
  return negative ? -value : value;
}

int32_t ReadInt32Prefix(u16view s) {
  size_t i = 0;
  while (i < s.size() && IsSpace(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  int64_t v = 0;
  while (i < s.size() && IsDigit(s[i])) {
    if (v <= (int64_t{1} << 32)) v = v * 10 + (s[i] - u'0');
    ++i;
  }
  if (negative) v = -v;
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

int64_t ReadHex64(u16view digits) {
  uint64_t v = 0;
  for (char16_t c : digits) {
    int d = IsDigit(c)                 ? c - u'0'
            : (c >= u'a' && c <= u'f') ? c - u'a' + 10
            : (c >= u'A' && c <= u'F') ? c - u'A' + 10
                                       : -1;
    if (d < 0) break;
    if (v > (static_cast<uint64_t>(INT64_MAX) - static_cast<uint64_t>(d)) / 16) return INT64_MAX;
    v = v * 16 + static_cast<uint64_t>(d);
  }
  return static_cast<int64_t>(v);
}

u16 Int64ToString(int64_t n) {
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, n);
  return u16(buf, res.ptr);
}

void AppendInt64(u16& out, int64_t n) {
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, n);
  out.append(buf, res.ptr);
}

u16 UInt64ToString(uint64_t n) {
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, n);
  return u16(buf, res.ptr);
}

u16 DoubleToString(double d, int digits) {
  if (std::isnan(d)) return u"nan";
  if (std::isinf(d)) return d < 0 ? u"-inf" : u"inf";
  if (digits < 0) digits = 0;
  // A whole number within 64 bits has exactly the digits of its integer;
  // printf is slow and only needed for the rest ("-0" included).
  if (digits == 0 && IsPrintedAsInt64(d)) return Int64ToString(static_cast<int64_t>(d));
  char buf[512];
  int n = std::snprintf(buf, sizeof buf, "%.*f", digits, d);
  if (n < 0) return u16();
  if (static_cast<size_t>(n) < sizeof buf) return u16(buf, buf + n);
  std::string big(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), "%.*f", digits, d);
  big.resize(static_cast<size_t>(n));
  return FromAscii(big);
}

u16 SafeMid(const u16& s, int64_t start, int64_t count) {
  if (start < 0) start = 0;
  int64_t len = static_cast<int64_t>(s.size());
  if (start >= len || count <= 0) return u16();
  if (count > len - start) count = len - start;
  return s.substr(static_cast<size_t>(start), static_cast<size_t>(count));
}

}  // namespace zun
