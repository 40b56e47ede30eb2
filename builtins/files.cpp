// Files and folders: existence, properties, delete, rename, copy, move,
// create and list. System failures are results, never script errors.
#include "platform/files.h"
#include "builtins/families.h"
#include "builtins/file_helpers.h"

namespace zun::builtins {

namespace {

// The built-ins that take one path and answer 1/0 with the system's result.
void OnePath(EScriptCallContext& ctx, EScriptValue& result, bool& bOk, bool (*call)(const u16&)) {
  u16 path = ctx.GetArgString(0, bOk, true);
  if (bOk) result = Flag(call(path));
}

// The file time as a time value; before 1900 it reads 0, as the calendar
// conversion of the C library gives.
int64_t TimeValue(int64_t seconds) {
  constexpr int64_t kYear1900 = -2208988800LL;
  return seconds < kYear1900 ? 0 : seconds;
}

}  // namespace

ZUN_BUILTIN(FileExists) { OnePath(ctx, result, bOk, platform::PathExists); }

ZUN_BUILTIN(FileIsDirectory) { OnePath(ctx, result, bOk, platform::IsDirectoryPath); }

ZUN_BUILTIN(FileGetProperty) {
  u16 path = ctx.GetArgString(0, bOk, true);
  u16 property = ctx.GetArgString(1, bOk, true);
  if (!bOk) return;
  ctx.SetLastError(0, u"");
  if (!platform::PathExists(path)) ctx.SetLastError(1, u"could not read source file");
  property = ToLower(property);
  platform::FileInfo info;
  bool found = platform::FindFileInfo(path, info);
  if (property == u"ctime") {
    result = EScriptValue::Int(found ? TimeValue(info.creationTime) : 0);
  } else if (property == u"mtime") {
    result = EScriptValue::Int(found ? TimeValue(info.writeTime) : 0);
  } else if (property == u"atime") {
    result = EScriptValue::Int(found ? TimeValue(info.accessTime) : 0);
  } else if (property == u"size") {
    result = EScriptValue::Int(found ? static_cast<int64_t>(info.size & 0xFFFFFFFFu) : -1);
  } else {
    ctx.SetCallError(result, u"bad property:" + property);
  }
}

ZUN_BUILTIN(FileDelete) { OnePath(ctx, result, bOk, platform::DeleteFilePath); }

ZUN_BUILTIN(FileRename) {
  u16 from = ctx.GetArgString(0, bOk, true);
  u16 to = ctx.GetArgString(1, bOk, true);
  if (bOk) result = Flag(platform::RenamePath(from, to));
}

ZUN_BUILTIN(FileCopy) {
  u16 from = ctx.GetArgString(0, bOk, true);
  u16 to = ctx.GetArgString(1, bOk, true);
  int64_t overwrite = ctx.GetArgInt64(2, bOk, false, 0);
  if (!bOk) return;
  platform::ClearFileAttributes(to);
  bool failIfExists = static_cast<uint32_t>(overwrite) == 0;
  result = Flag(platform::CopyFilePath(from, to, failIfExists));
}

// An existing target is replaced in the same call as the move, so a move
// that fails leaves it in place.
ZUN_BUILTIN(FileMove) {
  u16 from = ctx.GetArgString(0, bOk, true);
  u16 to = ctx.GetArgString(1, bOk, true);
  int64_t overwrite = ctx.GetArgInt64(2, bOk, false, 0);
  if (!bOk) return;
  bool replace = static_cast<uint32_t>(overwrite) != 0 && platform::PathExists(to);
  if (replace && platform::IsDirectoryPath(to)) {
    ctx.SetLastError(1, u"could not delete existing target file");
    result = EScriptValue::Int(0);
    return;
  }
  platform::ClearFileAttributes(from);
  bool moved = platform::MovePath(from, to, replace);
  if (!moved && replace) ctx.SetLastError(1, u"could not delete existing target file");
  result = Flag(moved);
}

ZUN_BUILTIN(FileCreateDirectory) { OnePath(ctx, result, bOk, platform::CreateDirectoryPath); }

bool ListDirectory(const u16& path, EScriptValue& list) {
  u16 folder = RemoveTrailingSlash(path) + platform::kPathSeparator;
  std::vector<u16> names;
  if (!platform::ListDirectoryNames(folder, names)) return platform::IsDirectoryPath(folder);
  for (const u16& name : names) list.elements.Add(EScriptValue::String(folder + name));
  return true;
}

ZUN_BUILTIN(ReadDirectory) {
  u16 path = ctx.GetArgString(0, bOk, true);
  if (!bOk) return;
  result = EScriptValue::Array();  // nothing is added when listing fails
  bool listed = ListDirectory(path, result);
  ctx.SetLastError(listed ? 0 : 1, u"");
}

}  // namespace zun::builtins
