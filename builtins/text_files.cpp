// Whole text files: load with the script loader's encoding detection, save
// as 8-bit or UTF-16 text, append keeping the file's encoding.
#include "builtins/families.h"
#include "builtins/file_helpers.h"
#include "platform/files.h"
#include "loader/text_file.h"

namespace zun::builtins {

bool WriteFileBytes(const u16& path, const std::string& bytes) {
  return platform::ReplaceFileContents(path, bytes.data(), bytes.size());
}

bool WriteTextFile(const u16& path, const u16& text, uint32_t flags) {
  std::string bytes;
  if (flags & TEXTFILE_ANSI) {
    bytes = platform::Utf16ToAnsi(text);
  } else if (flags & TEXTFILE_UNICODE) {
    bool bigEndian = flags & TEXTFILE_SWAPPED;
    if (flags & TEXTFILE_LITTLE_ENDIAN) {
      bytes = "\xFF\xFE";
    } else if (flags & TEXTFILE_BIG_ENDIAN) {
      bytes = "\xFE\xFF";
    }
    bytes.reserve(bytes.size() + 2 * text.size());
    for (char16_t unit : text) {
      char low = static_cast<char>(unit & 0xFF);
      char high = static_cast<char>(unit >> 8);
      bytes.push_back(bigEndian ? high : low);
      bytes.push_back(bigEndian ? low : high);
    }
  } else {
    return false;
  }
  return WriteFileBytes(path, bytes);
}

bool EScriptTextFile::Load(const u16& filePath, u16& text) {
  uint32_t readFlags = 0;
  if (!LoadTextFile(filePath, text, &readFlags)) {
    path.clear();
    flags = 0;
    loaded = 0;
    return false;
  }
  path = filePath;
  flags = static_cast<int32_t>(readFlags);
  loaded = 1;
  return true;
}

bool EScriptTextFile::Save(const u16& text, const u16& pathOverride) {
  if (!loaded || (path.empty() && pathOverride.empty())) return false;
  if (!pathOverride.empty()) path = pathOverride;
  return WriteTextFile(path, text, static_cast<uint32_t>(flags));
}

ZUN_BUILTIN(TextFileLoad) {
  u16 path = ctx.GetArgString(0, bOk, true);
  if (!bOk) return;
  u16 text;
  uint32_t flags = 0;
  if (!LoadTextFile(path, text, &flags)) {
    ctx.SetLastError(1, u"");
    result = EScriptValue::String(u"");
    return;
  }
  ctx.SetLastError(0, u"");
  u16 kind;
  if (flags & TEXTFILE_ANSI) kind += u"ansi";
  if (flags & TEXTFILE_UNICODE) kind += u" utf-16";
  if (flags & (TEXTFILE_LITTLE_ENDIAN | TEXTFILE_BIG_ENDIAN)) kind += u" bom";
  ctx.engine->lastAdditionalResult = EScriptValue::String(kind);
  result = EScriptValue::String(text);
}

ZUN_BUILTIN(TextFileSave) {
  u16 path = ctx.GetArgString(0, bOk, true);
  u16 contents = ctx.GetArgString(1, bOk, true);
  u16 type = ctx.GetArgString(2, bOk, false);
  if (!bOk) return;
  uint32_t mode = TEXTFILE_ANSI;
  if (type.find(u"utf-16") != u16::npos)
    mode = type.find(u"bom") != u16::npos ? TEXTFILE_UNICODE | TEXTFILE_LITTLE_ENDIAN : TEXTFILE_UNICODE;
  bool ok = WriteTextFile(path, contents, mode);
  ctx.SetLastError(ok ? 0 : 1, u"");
  result = Flag(ok);
}

ZUN_BUILTIN(TextFileAppend) {
  u16 path = ctx.GetArgString(0, bOk, true);
  u16 contents = ctx.GetArgString(1, bOk, true);
  if (!bOk) return;
  result = EScriptValue::Int(0);
  EScriptTextFile file;
  u16 old;
  bool saved = false;
  if (file.Load(path, old)) {
    saved = file.Save(old + contents, u16());
  } else if (platform::PathExists(path)) {
    ctx.SetLastError(1, u"error reading source file");
    return;
  } else {
    saved = WriteTextFile(path, contents, TEXTFILE_ANSI);
  }
  if (!saved) {
    ctx.SetLastError(1, u"error saving");
    return;
  }
  ctx.SetLastError(0, u"");
  result = EScriptValue::Int(1);
}

}  // namespace zun::builtins
