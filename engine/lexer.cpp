// The lexer: tokens are read on demand from the engine's cursor.
#include "engine/lexer.h"

#include <algorithm>

#include "engine/engine.h"

namespace zun {

bool EScriptCursor::Advance() {
  if (IsAtEnd()) return false;
  ++pos;
  return true;
}

void EScriptCursor::SkipWhitespace() {
  markPos = pos;
  notFound = false;
  int32_t n = Size();
  while (pos < n && IsSpace((*text)[static_cast<size_t>(pos)])) ++pos;
  if (pos >= n) {
    notFound = true;
    pos = n;
  }
}

void EScriptCursor::FindAnyOf(u16view set) {
  markPos = pos;
  notFound = false;
  int32_t n = Size();
  while (pos < n && set.find((*text)[static_cast<size_t>(pos)]) == u16view::npos) ++pos;
  if (pos >= n) {
    notFound = true;
    pos = n;
  }
}

void EScriptCursor::FindChar(char16_t c) {
  char16_t set[1] = {c};
  FindAnyOf(u16view(set, 1));
}

void EScriptCursor::FindText(u16view needle, bool skipPast, bool ignoreCase) {
  markPos = pos;
  notFound = false;
  int32_t n = Size();
  if (pos >= n) {
    notFound = true;
    return;
  }
  u16view rest = u16view(*text).substr(static_cast<size_t>(pos));
  size_t k = u16view::npos;
  if (ignoreCase) {
    if (auto f = FindNoCase(rest, needle)) k = *f;
  } else {
    k = rest.find(needle);
  }
  if (k == u16view::npos) {
    notFound = true;
    return;
  }
  pos += static_cast<int32_t>(k);
  if (skipPast) pos += static_cast<int32_t>(needle.size());
}

std::optional<size_t> FindNoCase(u16view haystack, u16view needle) {
  if (needle.size() > haystack.size() || haystack.empty()) return std::nullopt;
  for (size_t i = 0; i < haystack.size(); ++i) {
    size_t j = 0;
    while (j < needle.size() && i + j < haystack.size() && ToLower(needle[j]) == ToLower(haystack[i + j])) ++j;
    if (j == needle.size()) return i;
  }
  return std::nullopt;
}

int64_t FindInString(u16view str, u16view needle, bool ignoreCase, int64_t start) {
  if (start < 0 || start > static_cast<int64_t>(str.size())) return -1;
  u16view rest = str.substr(static_cast<size_t>(start));
  if (needle.empty()) return start;
  size_t k = u16view::npos;
  if (ignoreCase) {
    if (auto f = FindNoCase(rest, needle)) k = *f;
  } else {
    k = rest.find(needle);
  }
  return k == u16view::npos ? -1 : start + static_cast<int64_t>(k);
}

EKeyword KeywordOf(u16view word) {
  static const struct {
    u16view text;
    EKeyword keyword;
  } kKeywords[] = {{u"var", KW_VAR}, {u"if", KW_IF}, {u"else", KW_ELSE}, {u"repeat", KW_REPEAT}, {u"break", KW_BREAK}};
  for (const auto& k : kKeywords)
    if (k.text == word) return k.keyword;
  return KW_NONE;
}

namespace {
const ELexedToken* g_emptyPage[size_t{1} << 9] = {};
}  // namespace

const ELexedToken& ETokenCache::Store(int32_t pos, ELexedToken&& token) {
  static_assert(sizeof g_emptyPage / sizeof g_emptyPage[0] == kPageMask + 1, "one page");
  size_t page = static_cast<size_t>(pos) >> kPageBits;
  if (page >= table.size()) table.resize(page + 1, g_emptyPage);
  if (table[page] == g_emptyPage) {
    pages.emplace_back(new const ELexedToken*[kPageMask + 1]());
    table[page] = pages.back().get();
  }
  pTable = table.data();
  nPages = table.size();
  tokens.push_back(std::move(token));
  table[page][static_cast<size_t>(pos) & kPageMask] = &tokens.back();
  return tokens.back();
}

EText ETokenCache::Intern(u16&& name) {
  auto found = names.find(name);
  if (found != names.end()) return found->second;
  EText text(name);
  names.emplace(std::move(name), text);
  return text;
}

void ETokenCache::Clear() {
  nPages = 0;
  pTable = nullptr;
  table.clear();
  pages.clear();
  tokens.clear();
  names.clear();
}

const ELexedToken& EZunScriptEngine::LexUncached() {
  int32_t start = cursor.pos;
  bLexFailed = false;
  ELexedToken t;
  u16 text = Tokenize(t.kind);
  t.end = cursor.pos;
  bool name = t.kind == SETK_VAR || t.kind == SETK_WORD;
  t.text = name && !bLexFailed ? tokenCache.Intern(std::move(text)) : EText(std::move(text));
  if (t.kind == SETK_OPERATOR) t.op = OperatorOf(t.text);
  if (t.kind == SETK_WORD) t.keyword = KeywordOf(t.text);
  if (t.kind == SETK_NUMBER) t.number = ReadDoublePrefix(t.text);
  if (!bLexFailed && start >= 0) return tokenCache.Store(start, std::move(t));
  lexScratch = std::move(t);
  return lexScratch;
}

void EZunScriptEngine::LexError(const char* message) { LexError(FromAscii(message)); }

void EZunScriptEngine::LexError(const u16& message) {
  bLexFailed = true;
  if (!bQuietLex) ReportError(message);
}

EScriptToken EZunScriptEngine::ReadToken() {
  EScriptToken t;
  t.startPos = cursor.pos;
  const ELexedToken& lexed = Lex();
  t.kind = lexed.kind;
  t.text = lexed.text;
  return t;
}

u16 EZunScriptEngine::GetNextToken(int32_t& kind) {
  const ELexedToken& lexed = Lex();
  kind = lexed.kind;
  return lexed.text;
}

namespace {

bool IsNameChar(char16_t c) { return IsLetter(c) || IsDigit(c) || c == u'_' || c == u':'; }

// Collects name characters after the one at the cursor (which is taken
// whatever it is); the cursor stops on the first character that is not one.
void CollectName(EScriptCursor& cur, u16& out) {
  out.push_back(cur.Current());
  while (!cur.IsAtEnd()) {
    cur.Advance();
    char16_t d = cur.Current();
    if (cur.pos >= cur.Size() || !IsNameChar(d)) break;
    out.push_back(d);
  }
}

}  // namespace

// The reading itself; Lex() serves what it found from the cache afterwards.
u16 EZunScriptEngine::Tokenize(int32_t& kind) {
  kind = SETK_END;
  EScriptCursor& cur = cursor;
  cur.SkipWhitespace();
  // Comments loop here rather than recursing, so that any number of them
  // costs no stack.
  for (;;) {
    if (cur.IsAtEnd()) return u16();
    char16_t c = cur.Current();
    char16_t next = cur.At(cur.pos + 1);
    if (c == u'/' && next == u'/') {
      cur.FindAnyOf(u"\r\n");
      cur.SkipWhitespace();
      continue;
    }
    if (c == u'/' && next == u'*') {
      cur.FindText(u"*/", true, false);
      if (cur.notFound) {
        LexError("*\\ expected");
        return u16();
      }
      cur.SkipWhitespace();
      continue;
    }
    break;
  }

  char16_t c = cur.Current();
  u16 out;
  if (c == u'-') {
    cur.Advance();
    cur.SkipWhitespace();
    kind = SETK_OPERATOR;
    if (cur.pos < cur.Size() && cur.Current() == u'=') {
      cur.Advance();
      return u"-=";
    }
    return u"-";
  }
  if (IsDigit(c)) {
    kind = SETK_NUMBER;
    out.push_back(c);
    bool hex = false;
    int counted = 0;
    while (!cur.IsAtEnd()) {
      cur.Advance();
      ++counted;
      char16_t d = cur.Current();  // NUL just past the end
      if (counted == 1 && d == u'x') {
        hex = true;
        out.clear();
        continue;
      }
      if (hex ? IsHexDigit(d) : (IsDigit(d) || d == u'.')) out.push_back(d);
      else break;
    }
    if (hex) {
      if (out.empty()) {
        LexError("Didit expected");
        return u16();
      }
      return Int64ToString(ReadHex64(out));
    }
    return out;
  }
  if (c == u'"') {
    kind = SETK_STRING;
    for (;;) {
      if (cur.IsAtEnd()) {
        LexError("\" expected");
        return u16();
      }
      cur.Advance();
      if (cur.pos >= cur.Size()) {
        LexError("\" expected");
        return u16();
      }
      char16_t ch = cur.Current();
      if (ch == u'\\') {
        cur.Advance();
        char16_t e = cur.Current();
        switch (e) {
          case u'\\': out.push_back(u'\\'); break;
          case u'n': out.push_back(u'\n'); break;
          case u'r': out.push_back(u'\r'); break;
          case u't': out.push_back(u'\t'); break;
          case u'"': out.push_back(u'"'); break;
          default: {
            u16 msg = u"Unknown token:";
            if (e != u'\0' || cur.pos < cur.Size()) msg.push_back(e);
            LexError(msg);
            return u16();
          }
        }
      } else if (ch == u'"') {
        cur.Advance();
        return out;
      } else {
        out.push_back(ch);
      }
    }
  }
  if (c == u'$') {
    kind = SETK_VAR;
    cur.Advance();
    if (cur.pos >= cur.Size()) return out;
    CollectName(cur, out);
    return out;
  }
  if (IsLetter(c) || c == u'_') {
    CollectName(cur, out);
    kind = SETK_OPERATOR;
    if (out.size() <= 3) {  // the word operators, in any case
      u16 lower = ToLower(out);
      if (lower == u"and") return u"&&";
      if (lower == u"or") return u"||";
      if (lower == u"not") return u"!";
    }
    kind = SETK_WORD;
    return out;
  }

  kind = SETK_OPERATOR;
  cur.Advance();
  char16_t c2 = cur.pos < cur.Size() ? cur.Current() : u'\0';
  out.push_back(c);
  if ((c == u'&' || c == u'|') && (c2 == c || c2 == u'=')) {
    cur.Advance();
    out.push_back(c2);
    return out;
  }
  if (u16view(u"=<>!+-*/").find(c) != u16view::npos && c2 == u'=') {
    cur.Advance();
    out.push_back(c2);
    return out;
  }
  if (c == u'+' && c2 == u'+') LexError("Operator ++ not supported");
  return out;
}

}  // namespace zun
