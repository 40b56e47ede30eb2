#include "platform/arguments.h"

namespace zun {

std::vector<u16> SplitCommandLine(const u16& line, bool skipProgram) {
  std::vector<u16> args;
  size_t i = 0, n = line.size();
  auto isBlank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  if (skipProgram) {
    // The program name: quotes group, no escapes.
    bool quoted = false;
    while (i < n && (quoted || !isBlank(line[i]))) {
      if (line[i] == u'"') quoted = !quoted;
      ++i;
    }
  }
  for (;;) {
    while (i < n && isBlank(line[i])) ++i;
    if (i >= n) break;
    u16 arg;
    bool quoted = false;
    while (i < n && (quoted || !isBlank(line[i]))) {
      size_t slashes = 0;
      while (i < n && line[i] == u'\\') {
        ++slashes;
        ++i;
      }
      if (i < n && line[i] == u'"') {
        arg.append(slashes / 2, u'\\');
        if (slashes % 2) {
          arg.push_back(u'"');
        } else if (quoted && i + 1 < n && line[i + 1] == u'"') {
          arg.push_back(u'"');  // "" inside quotes is a literal quote
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        arg.append(slashes, u'\\');
        if (i < n && (quoted || !isBlank(line[i]))) arg.push_back(line[i++]);
      }
    }
    args.push_back(arg);
  }
  return args;
}

}  // namespace zun
