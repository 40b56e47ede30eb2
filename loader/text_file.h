// Reading a whole text file into UTF-16, recognising its encoding. Used by
// the runner for the script and by the text-file built-ins.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace zun {

enum : uint32_t {
  TEXTFILE_ANSI = 1,
  TEXTFILE_UNICODE = 2,
  TEXTFILE_LITTLE_ENDIAN = 4,
  TEXTFILE_BIG_ENDIAN = 8,
  TEXTFILE_BINARY = 16,
  TEXTFILE_SWAPPED = 64,
};

// Script files must be smaller than this.
constexpr int64_t kMaxTextFileBytes = 104857600;

class CByteBuffer {
 public:
  uint8_t* pData = nullptr;
  int32_t nCapacity = 0;
  int32_t nSize = 0;
  bool bKeepCapacity = false;

  CByteBuffer() = default;
  CByteBuffer(const CByteBuffer&) = delete;
  CByteBuffer& operator=(const CByteBuffer&) = delete;
  ~CByteBuffer() { Reallocate(0); }

  // Grows to 1.2 times a size beyond the capacity, shrinks below 0.8 of it.
  bool SetSize(int32_t n);
  bool Append(const void* bytes, int32_t count);
  bool AppendByte(uint8_t b) { return Append(&b, 1); }

 private:
  bool Reallocate(int32_t capacity);
};

bool ReadFileToBuffer(const u16& path, CByteBuffer& buffer, int64_t maxBytes);
uint32_t DetectTextEncoding(const uint8_t* bytes, int32_t count);
// On failure the text is left unchanged; flags (when given) are set always.
bool LoadTextFile(const u16& path, u16& text, uint32_t* flags = nullptr);
// The same for bytes already read (the buffer gets the closing zero bytes).
bool DecodeText(CByteBuffer& buffer, u16& text, uint32_t* flags = nullptr);
// A script file: read as LoadTextFile reads a text file, except that a file
// that starts with the UTF-8 signature (EF BB BF) is UTF-8 (ill-formed
// sequences become U+FFFD), up to its first zero byte. Text files that
// scripts load keep the plain reading, since scripts rely on UTF-8 files
// passing byte for byte through TextFileLoad and TextFileSave.
bool LoadScriptFile(const u16& path, u16& text);
bool DecodeScript(CByteBuffer& buffer, u16& text);
// Reads standard input to its end, as ReadFileToBuffer reads a file.
bool ReadInputToBuffer(CByteBuffer& buffer, int64_t maxBytes);

}  // namespace zun
