// Reading and decoding text files (ANSI, UTF-16 in either order, UTF-8 with a signature).
#include "loader/text_file.h"

#include <cstdlib>
#include <cstring>

#include "platform/console.h"
#include "platform/files.h"

namespace zun {

bool CByteBuffer::Reallocate(int32_t capacity) {
  if (capacity <= 0) {
    std::free(pData);
    pData = nullptr;
    nCapacity = nSize = 0;
    return true;
  }
  if (capacity == nCapacity && pData) return true;
  void* grown = std::realloc(pData, static_cast<size_t>(capacity));
  if (!grown) return false;
  pData = static_cast<uint8_t*>(grown);
  nCapacity = capacity;
  return true;
}

bool CByteBuffer::SetSize(int32_t n) {
  if (n < 0) return false;
  int32_t target = static_cast<int32_t>(static_cast<int64_t>(n) * 12 / 10);
  if (n > nCapacity) {
    if (!Reallocate(target)) return false;
  } else if (!bKeepCapacity && n < static_cast<int64_t>(nCapacity) * 8 / 10) {
    if (!Reallocate(target)) return false;
  }
  nSize = n;
  return true;
}

bool CByteBuffer::Append(const void* bytes, int32_t count) {
  int32_t old = nSize;
  if (!SetSize(old + count)) return false;
  if (count > 0) std::memcpy(pData + old, bytes, static_cast<size_t>(count));
  return true;
}

bool ReadFileToBuffer(const u16& path, CByteBuffer& buffer, int64_t maxBytes) {
  platform::ReadOnlyFile file;
  if (!file.Open(path)) return false;
  // Too big is known before reading; the count below still holds for a
  // file that grows while it is read.
  if (file.Size() >= maxBytes) return false;
  uint8_t chunk[1024];
  int64_t total = 0;
  for (;;) {
    int k = file.Read(chunk, sizeof chunk);
    if (k < 0) return false;
    if (k == 0) return true;
    if (!buffer.Append(chunk, k)) return false;
    total += k;
    if (total >= maxBytes) return false;
  }
}

uint32_t DetectTextEncoding(const uint8_t* bytes, int32_t n) {
  // The mark alone is an empty UTF-16 file (what saving "" as UTF-16 writes):
  // read as ANSI, it would turn into two characters and be appended to as such.
  if (n >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return TEXTFILE_UNICODE | TEXTFILE_LITTLE_ENDIAN;
  if (n >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return TEXTFILE_UNICODE | TEXTFILE_BIG_ENDIAN;
  if (n < 4) return TEXTFILE_ANSI;
  int32_t look = n - 1 < 100 ? n - 1 : 100;
  for (int32_t i = 0; i < look; ++i)
    if (bytes[i] == 0) return TEXTFILE_BINARY;
  return TEXTFILE_ANSI;
}

bool LoadTextFile(const u16& path, u16& text, uint32_t* flagsOut) {
  if (flagsOut) *flagsOut = 0;
  CByteBuffer buf;
  if (!ReadFileToBuffer(path, buf, kMaxTextFileBytes)) return false;
  return DecodeText(buf, text, flagsOut);
}

bool LoadScriptFile(const u16& path, u16& text) {
  CByteBuffer buf;
  return ReadFileToBuffer(path, buf, kMaxTextFileBytes) && DecodeScript(buf, text);
}

bool DecodeScript(CByteBuffer& buf, u16& text) {
  const uint8_t* data = buf.pData;
  int32_t n = buf.nSize;
  if (n < 3 || data[0] != 0xEF || data[1] != 0xBB || data[2] != 0xBF) return DecodeText(buf, text);
  // The zero-byte rule of the plain reading holds after the signature too.
  const uint8_t* body = data + 3;
  int32_t count = n - 3;
  int32_t look = count - 1 < 100 ? count - 1 : 100;
  for (int32_t i = 0; i < look; ++i)
    if (body[i] == 0) return false;
  const void* zero = std::memchr(body, 0, static_cast<size_t>(count));
  size_t len = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - body) : static_cast<size_t>(count);
  text = FromUtf8(std::string_view(reinterpret_cast<const char*>(body), len));
  return true;
}

bool ReadInputToBuffer(CByteBuffer& buffer, int64_t maxBytes) {
  uint8_t chunk[65536];
  for (int64_t total = 0;;) {
    int k = platform::ReadInput(chunk, sizeof chunk);
    if (k < 0) return false;
    if (k == 0) return true;
    if (!buffer.Append(chunk, k)) return false;
    total += k;
    if (total >= maxBytes) return false;
  }
}

bool DecodeText(CByteBuffer& buf, u16& text, uint32_t* flagsOut) {
  if (flagsOut) *flagsOut = 0;
  int32_t n = buf.nSize;
  uint32_t flags = DetectTextEncoding(buf.pData, n);
  if (flagsOut) *flagsOut = flags;
  if (flags & TEXTFILE_BINARY) return false;
  if (!buf.AppendByte(0) || !buf.AppendByte(0)) return false;
  const uint8_t* data = buf.pData;
  if (flags & TEXTFILE_ANSI) {
    size_t len = std::strlen(reinterpret_cast<const char*>(data));
    text = platform::AnsiToUtf16(reinterpret_cast<const char*>(data), len);
    return true;
  }
  // UTF-16: the units after the mark up to the first zero unit; an odd last
  // byte forms a unit with the zero byte that follows it.
  u16 out;
  out.reserve(static_cast<size_t>(n / 2));
  bool bigEndian = (flags & TEXTFILE_BIG_ENDIAN) != 0;
  for (int32_t i = 2; i + 1 < n + 2; i += 2) {
    bool lastOdd = i == n - 1;  // only the odd last byte stays unswapped
    char16_t unit = bigEndian && !lastOdd ? static_cast<char16_t>((data[i] << 8) | data[i + 1])
                                          : static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0) break;
    out.push_back(unit);
  }
  if (bigEndian) flags |= TEXTFILE_SWAPPED;
  if (flagsOut) *flagsOut = flags;
  text = std::move(out);
  return true;
}

}  // namespace zun
