// `zunrunc --help NAME`: the manual's entry for one name, as plain text for
// a terminal. The manual's files are compiled in (cmake/embed_docs.cmake),
// so the help needs no files beside the program.
#pragma once

#include <cstddef>

#include "text/text.h"

namespace zun {

// One file of docs/, by its path under docs/ ("builtins/strings.md").
struct HelpFile {
  const char* path;
  const char* text;  // UTF-8 Markdown, `size` bytes
  size_t size;
};
// The generated table, ended by a row whose path is null.
extern const HelpFile kHelpFiles[];

// The entry of a built-in (its section of docs/builtins/), a keyword (its
// section of docs/keywords.md) or a constant (its value and group), written
// to standard output: kRanClean. For any other name, "No entry for NAME."
// and the closest names on standard error: kNothingRan.
int ShowHelp(const u16& name);

// The text ShowHelp writes for a name, and whether there was an entry.
bool HelpText(const u16& name, std::string& text);

}  // namespace zun
