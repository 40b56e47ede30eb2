// `zunrunc --list`: the built-ins, keywords and constants, one per line.
#include "hosts/console/listing.h"

#include <cstdio>
#include <set>

#include "builtins/table.h"
#include "engine/engine.h"

namespace zun {

const char16_t* const kKeywordNames[8] = {u"var", u"if", u"else", u"repeat", u"break", u"and", u"or", u"not"};

u16 ConstantLiteral(const EScriptConstant& c) {
  switch (c.type) {
    case SEVT_INT: return Int64ToString(c.nValue);
    case SEVT_DOUBLE: {
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "%.15g", c.dValue);
      return FromAscii(buffer);
    }
    default: {
      u16 out = u"\"";
      for (const char16_t* p = c.pszValue; p && *p; ++p) {
        if (*p == u'\r') out += u"\\r";
        else if (*p == u'\n') out += u"\\n";
        else if (*p == u'"' || *p == u'\\') out += {u'\\', *p};
        else out.push_back(*p);
      }
      return out + u"\"";
    }
  }
}

u16 ListNames() {
  u16 out;
  for (int i = 0; i < BuiltinCount(); ++i)
    out += u"builtin\t" + u16(BuiltinName(i)) + u"\t" + BuiltinCategoryName(BuiltinCategoryOf(i)) + u"\n";
  std::set<u16> seen;  // SW_SHOW is registered twice: list each name once
  ForEachConstantRow([&](const char16_t* name, const EScriptConstant& c) {
    if (!seen.insert(name).second) return;
    out += u"constant\t" + u16(name) + u"\t" + ConstantLiteral(c) + u"\t" + ConstantGroupOf(name) + u"\n";
  });
  for (const char16_t* k : kKeywordNames) out += u"keyword\t" + u16(k) + u"\n";
  for (int i = OP_SEMICOLON; i < OP_COUNT; ++i) out += u"operator\t" + u16(kOperatorTable[i].text) + u"\n";
  return out;
}

}  // namespace zun
