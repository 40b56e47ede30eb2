// libFuzzer target: any bytes as a script file, loaded as the runner loads
// it. Besides the sanitizers' findings, a load that reports flags it may
// not report is a finding too.
// Build and run: see tools/zun (the fuzz step of "test").
#include <cstdint>
#include <cstdio>
#include <string>

#include "loader/text_file.h"

namespace {

// The encodings a load may report: ANSI, or UTF-16 in either byte order.
constexpr uint32_t kUtf16LittleEndian = zun::TEXTFILE_UNICODE | zun::TEXTFILE_LITTLE_ENDIAN;
constexpr uint32_t kUtf16BigEndian = zun::TEXTFILE_UNICODE | zun::TEXTFILE_BIG_ENDIAN | zun::TEXTFILE_SWAPPED;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "loader-fuzz-input.zunscript";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  zun::u16 text = u"unchanged";
  uint32_t flags = 0xFFFF;
  bool loaded = zun::LoadTextFile(zun::FromUtf8(path), text, &flags);
  bool known = loaded ? (flags == zun::TEXTFILE_ANSI || flags == kUtf16LittleEndian || flags == kUtf16BigEndian)
                      : (flags == 0 || flags == zun::TEXTFILE_BINARY);
  if (!known || (!loaded && text != u"unchanged") || (loaded && text.size() > size)) __builtin_trap();
  zun::u16 script;
  if (zun::LoadScriptFile(zun::FromUtf8(path), script) && script.size() > size) __builtin_trap();
  return 0;
}
