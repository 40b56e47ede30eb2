// Whole text files: load with the script loader's encoding detection, save
// as 8-bit or UTF-16 text, append keeping the file's encoding.
#include "builtins/families.h"
#include "builtins/file_helpers.h"
#include "loader/text_file.h"
#include "platform/files.h"

#include <cstdio>

namespace zun::builtins {

bool WriteFileBytes(const u16& path, const std::string& bytes) {
  return platform::ReplaceFileContents(path, bytes.data(), bytes.size());
}

namespace {

// The length of the character at i: two units for a surrogate pair.
size_t CharacterLength(u16view text, size_t i) {
  bool pair =
      text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
  return pair ? 2 : 1;
}

// Where the ANSI form of text stops standing for it: the position of the
// first character that does not come back from the code page unchanged, or
// npos. The whole text is tried first, since a text that fits is the rule.
size_t FirstUnfit(u16view text, const std::string& bytes) {
  if (platform::AnsiToUtf16(bytes.data(), bytes.size()) == text) return u16::npos;
  for (size_t i = 0; i < text.size(); i += CharacterLength(text, i)) {
    u16view one = text.substr(i, CharacterLength(text, i));
    std::string b = platform::Utf16ToAnsi(one);
    if (platform::AnsiToUtf16(b.data(), b.size()) != one) return i;
  }
  return u16::npos;  // every character fits alone: a code page that joins them
}

}  // namespace

u16 UnfitCharacterText(const u16& text, size_t at, size_t shownOffset) {
  u16view one = u16view(text).substr(at, CharacterLength(text, at));
  uint32_t cp = one.size() == 2 ? 0x10000 + ((one[0] - 0xD800u) << 10) + (one[1] - 0xDC00u) : one[0];
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
  return u"the character '" + u16(one) + u"' (" + FromAscii(code) + u") at position " +
         Int64ToString(static_cast<int64_t>(at - shownOffset)) +
         u" is not in the ANSI code page; nothing was written (save with \"utf-16 bom\" to keep it)";
}

bool WriteTextFile(const u16& path, const u16& text, uint32_t flags, size_t* unfit) {
  if (unfit) *unfit = u16::npos;
  std::string bytes;
  if (flags & TEXTFILE_ANSI) {
    bytes = platform::Utf16ToAnsi(text);
    size_t bad = FirstUnfit(text, bytes);
    if (bad != u16::npos) {
      if (unfit) *unfit = bad;
      return false;
    }
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

bool EScriptTextFile::Save(const u16& text, const u16& pathOverride, size_t* unfit) {
  if (!loaded || (path.empty() && pathOverride.empty())) return false;
  if (!pathOverride.empty()) path = pathOverride;
  return WriteTextFile(path, text, static_cast<uint32_t>(flags), unfit);
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
  size_t unfit = u16::npos;
  bool ok = WriteTextFile(path, contents, mode, &unfit);
  ctx.SetLastError(ok ? 0 : 1, unfit == u16::npos ? u16() : UnfitCharacterText(contents, unfit, 0));
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
  size_t unfit = u16::npos;
  if (file.Load(path, old)) {
    saved = file.Save(old + contents, u16(), &unfit);
  } else if (platform::PathExists(path)) {
    ctx.SetLastError(1, u"error reading source file");
    return;
  } else {
    saved = WriteTextFile(path, contents, TEXTFILE_ANSI, &unfit);
  }
  if (!saved) {
    // Positions count in the appended text, the part the script chose.
    ctx.SetLastError(1, unfit == u16::npos
                            ? u16(u"error saving")
                            : UnfitCharacterText(old + contents, unfit, unfit >= old.size() ? old.size() : 0));
    return;
  }
  ctx.SetLastError(0, u"");
  result = EScriptValue::Int(1);
}

}  // namespace zun::builtins
