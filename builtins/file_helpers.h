// The internal operations of the file, path and text file built-ins.
#pragma once

#include <cstdint>

#include "engine/value.h"

namespace zun::builtins {

// Path strings: either separator counts.
int64_t FindSlash(const u16& text, size_t start);
u16 RemoveTrailingSlash(u16 text);
u16 NormalizeSlashes(u16 text, char16_t separator);

struct SplitPathParts {
  u16 drive, folder, title, ext;  // ext keeps its leading dot
};
// The C library's path split: "X:" drive, folder up to the last separator
// (kept), then the title and the extension from the final component's last dot.
SplitPathParts SplitPath(const u16& path);

// Appends the full paths of the folder's entries to list (an array).
bool ListDirectory(const u16& path, EScriptValue& list);

// Whole-file writes. The target keeps its old contents when a write fails.
bool WriteFileBytes(const u16& path, const std::string& bytes);
// Encoding flags as the text reader reports them (loader/text_file.h). An
// 8-bit write refuses, writing nothing, a text that the ANSI code page
// cannot hold exactly; `unfit` then gets the position of its first such
// character (npos otherwise).
bool WriteTextFile(const u16& path, const u16& text, uint32_t flags, size_t* unfit = nullptr);
// The last-error text of a write refused that way.
u16 UnfitCharacterText(const u16& text, size_t at, size_t shownOffset);

// A text file remembered with its encoding, so that it is written back the
// way it was read.
class EScriptTextFile {
 public:
  u16 path;
  int32_t flags = 0;
  int32_t loaded = 0;

  bool Load(const u16& filePath, u16& text);
  bool Save(const u16& text, const u16& pathOverride, size_t* unfit = nullptr);
};

}  // namespace zun::builtins
