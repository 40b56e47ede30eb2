// The Url family: splitting, comparing and joining path strings with
// either separator. Pure text: the file system is not asked.
#include "builtins/families.h"
#include "builtins/file_helpers.h"

namespace zun::builtins {

namespace {

bool IsSlash(char16_t c) { return c == u'\\' || c == u'/'; }

u16 RemoveLeadingSlash(u16 text) {
  if (!text.empty() && IsSlash(text.front())) text.erase(0, 1);
  return text;
}

// The separator path1 uses, else path2's, else 0.
char16_t SeparatorOf(const u16& path) {
  if (path.find(u'\\') != u16::npos) return u'\\';
  if (path.find(u'/') != u16::npos) return u'/';
  return 0;
}

template <typename Fn>
void WithPath(EScriptCallContext& ctx, EScriptValue& result, bool& bOk, Fn fn) {
  u16 path = ctx.GetArgString(0, bOk, true);
  if (bOk) result = EScriptValue::String(fn(path));
}

template <typename Fn>
void WithTwoPaths(EScriptCallContext& ctx, EScriptValue& result, bool& bOk, Fn fn) {
  u16 path1 = ctx.GetArgString(0, bOk, true);
  u16 path2 = ctx.GetArgString(1, bOk, true);
  if (bOk) result = fn(path1, path2);
}

}  // namespace

int64_t FindSlash(const u16& text, size_t start) {
  size_t i = text.find(u'\\', start);
  if (i == u16::npos) i = text.find(u'/', start);
  return i == u16::npos ? -1 : static_cast<int64_t>(i);
}

u16 RemoveTrailingSlash(u16 text) {
  if (!text.empty() && IsSlash(text.back())) text.pop_back();
  return text;
}

u16 NormalizeSlashes(u16 text, char16_t separator) {
  for (char16_t& c : text)
    if (IsSlash(c)) c = separator;
  return text;
}

SplitPathParts SplitPath(const u16& path) {
  SplitPathParts parts;
  size_t rest = 0;
  if (path.size() >= 2 && path[1] == u':') {
    parts.drive = path.substr(0, 2);
    rest = 2;
  }
  size_t lastSlash = path.find_last_of(u"\\/");
  if (lastSlash != u16::npos && lastSlash >= rest) {
    parts.folder = path.substr(rest, lastSlash + 1 - rest);
    rest = lastSlash + 1;
  }
  u16 name = path.substr(rest);
  size_t dot = name.rfind(u'.');
  parts.title = name.substr(0, dot);
  if (dot != u16::npos) parts.ext = name.substr(dot);
  return parts;
}

ZUN_BUILTIN(UrlGetTitle) {
  WithPath(ctx, result, bOk, [](const u16& p) { return SplitPath(p).title; });
}

ZUN_BUILTIN(UrlGetExt) {
  WithPath(ctx, result, bOk, [](const u16& p) {
    u16 ext = SplitPath(p).ext;
    return ext.empty() ? ext : ext.substr(1);
  });
}

ZUN_BUILTIN(UrlGetName) {
  WithPath(ctx, result, bOk, [](const u16& p) {
    SplitPathParts parts = SplitPath(p);
    return parts.ext.size() > 1 ? parts.title + parts.ext : parts.title;
  });
}

ZUN_BUILTIN(UrlGetParent) {
  WithPath(ctx, result, bOk, [](const u16& p) {
    int64_t i = FindSlash(p, 0);
    if (i < 0 || static_cast<size_t>(i) + 1 >= p.size()) return u16();
    SplitPathParts parts = SplitPath(RemoveTrailingSlash(p));
    return parts.folder.empty() ? u16() : parts.drive + parts.folder;
  });
}

ZUN_BUILTIN(UrlIsSame) {
  WithTwoPaths(ctx, result, bOk, [](u16 a, u16 b) {
    char16_t sep = SeparatorOf(a);
    if (!sep) sep = SeparatorOf(b);
    a = RemoveLeadingSlash(RemoveTrailingSlash(a));
    b = RemoveLeadingSlash(RemoveTrailingSlash(b));
    if (sep) {
      a = NormalizeSlashes(a, sep);
      b = NormalizeSlashes(b, sep);
    }
    return Flag(a == b || CollateNoCase(a, b) == 0);
  });
}

ZUN_BUILTIN(UrlJoin) {
  WithTwoPaths(ctx, result, bOk, [](u16 a, u16 b) {
    if (a.empty()) return EScriptValue::String(b);
    if (b.empty()) return EScriptValue::String(a);
    char16_t sep = SeparatorOf(a);
    a = RemoveTrailingSlash(a);
    b = RemoveLeadingSlash(b);
    if (!sep) sep = b.find(u'\\') != u16::npos ? u'\\' : u'/';
    return EScriptValue::String(a + sep + b);
  });
}

}  // namespace zun::builtins
