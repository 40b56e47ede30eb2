// Splitting a Windows command line into arguments and joining them back.
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

u16 JoinCommandLine(const std::vector<u16>& args) {
  u16 line;
  for (const u16& arg : args) {
    if (!line.empty()) line.push_back(u' ');
    if (!arg.empty() && arg.find_first_of(u" \t\"") == u16::npos) {
      line += arg;
      continue;
    }
    line.push_back(u'"');
    size_t slashes = 0;
    for (char16_t c : arg) {
      if (c == u'\\') {
        ++slashes;
        continue;
      }
      // Backslashes are doubled only where a quote follows them.
      line.append(c == u'"' ? 2 * slashes + 1 : slashes, u'\\');
      line.push_back(c);
      slashes = 0;
    }
    line.append(2 * slashes, u'\\');  // before the closing quote
    line.push_back(u'"');
  }
  return line;
}

}  // namespace zun
