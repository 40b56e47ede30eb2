// Text helpers shared by the engine and the built-ins.
//
// All script text is UTF-16 (std::u16string). The C library's wide-character
// tests, number readings, case mapping and collation differ between Windows
// and glibc, so they are done here, the same way on every build.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace zun {

using u16 = std::u16string;
using u16view = std::u16string_view;

// u"..." literals are already UTF-16; these build strings from ASCII/UTF-8.
u16 FromAscii(std::string_view s);
u16 FromUtf8(std::string_view s);
std::string ToUtf8(u16view s);

// Character classes (the lexer and the value readings use these).
bool IsDigit(char16_t c);  // ASCII 0-9 only
bool IsSpaceBeyondAscii(char16_t c);
// The C library's wide space set; inline, since the lexer asks for every
// character it skips.
inline bool IsSpace(char16_t c) {
  if (c < 0x80) return (c >= 0x09 && c <= 0x0D) || c == 0x20;
  return IsSpaceBeyondAscii(c);
}
bool IsLetter(char16_t c);  // Unicode-alphabetic approximation, see text.cpp
bool IsHexDigit(char16_t c);

// Case mapping: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic.
char16_t ToUpper(char16_t c);
char16_t ToLower(char16_t c);
u16 ToUpper(u16view s);
u16 ToLower(u16view s);

// Collation of the default C locale: code-unit order; the case-insensitive
// form compares lower-cased units. Results are -1, 0 or +1.
int Collate(u16view a, u16view b);
int CollateNoCase(u16view a, u16view b);

// Reads the longest prefix of s that forms a decimal floating-point number
// the way the C library's wcstod does (leading blanks and a sign allowed,
// no hexadecimal, no inf/nan). Returns 0.0 when no number is there.
double ReadDoublePrefix(u16view s);
// wcstol base 10: blanks, sign, digits; saturates to the 32-bit range.
int32_t ReadInt32Prefix(u16view s);
// _wcstoi64 base 16 over hex digits only; saturates to INT64_MAX.
int64_t ReadHex64(u16view digits);

// Truncates toward zero; NaN, infinities and values outside the 64-bit range
// give INT64_MIN, as the x86 conversion instruction does, without UB.
inline int64_t TruncToInt64(double d) {
  // [-2^63, 2^63) converts; the bounds are exact doubles. A NaN fails both tests.
  if (d >= -9223372036854775808.0 && d < 9223372036854775808.0) return static_cast<int64_t>(d);
  return INT64_MIN;
}

// Decimal text of n.
u16 Int64ToString(int64_t n);
// The same digits appended to out.
void AppendInt64(u16& out, int64_t n);
u16 UInt64ToString(uint64_t n);
// printf("%.<digits>f", d); non-finite values read "inf", "-inf", "nan".
u16 DoubleToString(double d, int digits);
// A whole number within 64 bits, other than 0: DoubleToString(d, 0) writes
// exactly the digits of its integer.
inline bool IsPrintedAsInt64(double d) { return d > -9.2e18 && d < 9.2e18 && d != 0.0 && d == std::trunc(d); }

// Substring with the bounds rule of the report snippet and the string
// built-ins: a negative start becomes 0 (count unchanged), the count is cut
// at the end, a negative count gives "".
u16 SafeMid(const u16& s, int64_t start, int64_t count);

}  // namespace zun
