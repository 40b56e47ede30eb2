// `zunrunc --help NAME`: finds the manual's entry and prints it as plain text.
#include "hosts/console/help.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "builtins/table.h"
#include "engine/engine.h"
#include "hosts/console/listing.h"
#include "loader/exit_status.h"
#include "platform/console.h"

namespace zun {

namespace {

using Lines = std::vector<std::string_view>;

constexpr size_t kWidth = 78;

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

Lines SplitLines(std::string_view text) {
  Lines out;
  for (;;) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    out.push_back(line);
    if (end == std::string_view::npos) return out;
    text.remove_prefix(end + 1);
  }
}

// The fence a line opens ("```", "~~~~", ...), or nothing.
std::string_view FenceOf(std::string_view line) {
  if (line.empty() || (line[0] != '`' && line[0] != '~')) return {};
  size_t n = line.find_first_not_of(line[0]);
  if (n == std::string_view::npos) n = line.size();
  return n >= 3 ? line.substr(0, n) : std::string_view();
}

bool IsHeading(std::string_view line) {
  size_t n = line.find_first_not_of('#');
  return n > 0 && n <= 6 && n < line.size() && line[n] == ' ';
}

// The `## NAME` section of the files whose path starts with `where`, to the
// next heading of level 1 or 2 (headings inside code blocks do not count).
Lines FindSection(std::string_view where, std::string_view name) {
  for (const HelpFile* file = kHelpFiles; file->path; ++file) {
    if (!StartsWith(file->path, where)) continue;
    Lines out;
    bool inside = false;
    std::string_view fence;
    for (std::string_view line : SplitLines({file->text, file->size})) {
      if (!fence.empty()) {
        if (StartsWith(line, fence)) fence = {};
      } else if (StartsWith(line, "# ") || StartsWith(line, "## ")) {
        if (inside) return out;
        inside = StartsWith(line, "## ") && Trim(line.substr(3)) == name;
      } else {
        fence = FenceOf(line);
      }
      if (inside) out.push_back(line);
    }
    if (inside) return out;
  }
  return {};
}

// Characters as a terminal counts them: UTF-8 lead bytes.
size_t Columns(std::string_view s) {
  return static_cast<size_t>(
      std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Markdown within a line, undone: code spans lose their ticks, links their
// targets, bold its stars, escapes their backslash.
std::string Inline(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '`') {
      size_t stop = s.find_first_not_of('`', i);
      size_t ticks = stop == std::string_view::npos ? 0 : stop - i;
      size_t end = ticks ? s.find(std::string(ticks, '`'), stop) : std::string_view::npos;
      if (end == std::string_view::npos) {  // no closing ticks: the ticks are text
        out.append(s.substr(i));
        break;
      }
      out.append(s.substr(stop, end - stop));
      i = end + ticks - 1;
    } else if (c == '\\' && i + 1 < s.size() &&
               std::string_view("\\`*_[]()|#<>!-.").find(s[i + 1]) != std::string_view::npos) {
      out.push_back(s[++i]);
    } else if (c == '*' && i + 1 < s.size() && s[i + 1] == '*') {
      ++i;
    } else if (s.substr(i, 3) == "\u2192") {  // the arrow of a call form, in any code page
      out += "->";
      i += 2;
    } else if (c == '[') {
      size_t close = s.find(']', i);
      size_t end = close != std::string_view::npos && s.substr(close + 1, 1) == "(" ? s.find(')', close) : close;
      if (close == std::string_view::npos || end == close || end == std::string_view::npos) {
        out.push_back(c);
      } else {
        out += Inline(s.substr(i + 1, close - i - 1));
        i = end;
      }
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// Words filled into lines of kWidth columns; the first line starts with
// `first`, the others with `rest`.
void Wrap(const std::string& text, std::string_view first, std::string_view rest, std::string& out) {
  std::string line(first);
  size_t width = Columns(first);
  bool empty = true;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    std::string_view word(text.data() + at, end - at);
    at = end + 1;
    if (word.empty()) continue;
    if (!empty && width + 1 + Columns(word) > kWidth) {
      out += line + "\n";
      line = std::string(rest);
      width = Columns(rest);
      empty = true;
    }
    if (!empty) {
      line += ' ';
      ++width;
    }
    line += word;
    width += Columns(word);
    empty = false;
  }
  out += line + "\n";
}

std::vector<std::string> Cells(std::string_view row) {
  row = Trim(row);
  if (StartsWith(row, "|")) row.remove_prefix(1);
  if (!row.empty() && row.back() == '|' && (row.size() < 2 || row[row.size() - 2] != '\\')) row.remove_suffix(1);
  std::vector<std::string> cells;
  size_t start = 0;
  for (size_t i = 0; i <= row.size(); ++i) {
    if (i == row.size() || (row[i] == '|' && (i == 0 || row[i - 1] != '\\'))) {
      cells.push_back(Inline(Trim(row.substr(start, i - start))));
      start = i + 1;
    }
  }
  return cells;
}

bool IsRule(std::string_view row) {
  return row.find_first_not_of("|-: \t") == std::string_view::npos && row.find('-') != std::string_view::npos;
}

// A table in columns, its header underlined.
void Table(const Lines& rows, std::string& out) {
  std::vector<std::vector<std::string>> cells;
  for (std::string_view row : rows)
    if (!IsRule(row)) cells.push_back(Cells(row));
  std::vector<size_t> widths;
  for (const auto& row : cells)
    for (size_t i = 0; i < row.size(); ++i) {
      if (widths.size() <= i) widths.push_back(0);
      widths[i] = std::max(widths[i], Columns(row[i]));
    }
  auto line = [&](const std::vector<std::string>& row) {
    std::string text = "  ";
    for (size_t i = 0; i < row.size(); ++i)
      text += row[i] + (i + 1 < row.size() ? std::string(widths[i] - Columns(row[i]) + 2, ' ') : "");
    out += text + "\n";
  };
  for (size_t r = 0; r < cells.size(); ++r) {
    line(cells[r]);
    if (r == 0 && rows.size() > 1 && IsRule(rows[1])) {
      std::vector<std::string> rule;
      for (size_t w : widths) rule.push_back(std::string(w, '-'));
      line(rule);
    }
  }
}

// What a fenced block is shown as, by its info string.
std::string BlockLabel(std::string_view info) {
  struct Label {
    const char* word;
    const char* label;
  };
  static const Label kLabels[] = {{"output", "Output:"},
                                  {"input", "Typed in:"},
                                  {"error", "Error:"},
                                  {"zunscript desktop", "Example (needs a Windows desktop):"},
                                  {"zunscript check", "Example (changes files or settings):"},
                                  {"zunscript nocheck", "Example (stops with an error):"},
                                  {"zunscript", "Example:"}};
  std::string words;
  for (size_t at = 0; at < info.size();) {
    size_t end = std::min(info.find(' ', at), info.size());
    if (end > at) words += (words.empty() ? "" : " ") + std::string(info.substr(at, end - at));
    at = end + 1;
  }
  for (const Label& l : kLabels)
    if (words == l.word || (StartsWith(words, l.word) && words[std::string_view(l.word).size()] == ' ')) return l.label;
  return "";
}

bool IsListItem(std::string_view line) {
  line = Trim(line);
  return StartsWith(line, "- ") || StartsWith(line, "* ");
}

// A section of the manual as terminal text: one blank line between blocks;
// code indented under its label; tables in columns; paragraphs filled.
std::string Render(const Lines& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size();) {
    std::string_view line = lines[i];
    if (Trim(line).empty()) {
      ++i;
      continue;
    }
    if (!out.empty()) out += "\n";
    if (std::string_view fence = FenceOf(line); !fence.empty()) {
      std::string label = BlockLabel(Trim(line.substr(fence.size())));
      if (!label.empty()) out += label + "\n";
      for (++i; i < lines.size() && !StartsWith(lines[i], fence); ++i)
        out += lines[i].empty() ? "\n" : "    " + std::string(lines[i]) + "\n";
      ++i;
    } else if (IsHeading(line)) {
      out += Inline(Trim(line.substr(line.find(' ')))) + "\n";
      ++i;
    } else if (StartsWith(Trim(line), "|")) {
      Lines rows;
      for (; i < lines.size() && StartsWith(Trim(lines[i]), "|"); ++i) rows.push_back(lines[i]);
      Table(rows, out);
    } else {
      // A paragraph, a list (one item a line) or a quotation, to the next
      // blank line or block of another kind.
      std::string text;
      bool list = IsListItem(line), quote = StartsWith(line, ">");
      for (; i < lines.size() && !Trim(lines[i]).empty() && FenceOf(lines[i]).empty() && !IsHeading(lines[i]) &&
             !StartsWith(Trim(lines[i]), "|");
           ++i) {
        std::string_view l = Trim(lines[i]);
        if (quote && StartsWith(l, ">")) l = Trim(l.substr(1));
        if (list && IsListItem(l)) {
          if (!text.empty()) Wrap(text, "  - ", "    ", out);
          text = Inline(l.substr(2));
        } else {
          text += (text.empty() ? "" : " ") + Inline(l);
        }
      }
      Wrap(text, list ? "  - " : quote ? "  " : "", list ? "    " : quote ? "  " : "", out);
    }
  }
  return out;
}

const HelpFile* FindFile(std::string_view path) {
  for (const HelpFile* file = kHelpFiles; file->path; ++file)
    if (path == file->path) return file;
  return nullptr;
}

// What a group of constants is for: its row in the group table of
// constants.md (the table whose first column is "Prefix").
std::string GroupLine(const std::string& prefix) {
  std::string key = prefix.empty() ? "(no prefix)" : prefix;
  if (const HelpFile* file = FindFile("constants.md")) {
    bool groupTable = false, header = true;
    for (std::string_view line : SplitLines({file->text, file->size})) {
      if (!StartsWith(Trim(line), "|")) {
        header = true;
        continue;
      }
      std::vector<std::string> cells = Cells(line);
      if (header) groupTable = !cells.empty() && cells[0] == "Prefix";
      header = false;
      if (groupTable && cells.size() >= 3 && cells[0] == key)
        return (prefix.empty() ? cells[1] + " (no prefix)" : "Group " + prefix + " (" + cells[1] + ")") + ". " +
               cells[2];
    }
  }
  return prefix.empty() ? "One of the engine's own constants." : "A constant of the group " + prefix + ".";
}

bool ConstantText(const u16& name, std::string& text) {
  bool found = false;
  ForEachConstantRow([&](const char16_t* row, const EScriptConstant& c) {
    if (found || name != row) return;
    found = true;
    text = ToUtf8(name + u" = " + ConstantLiteral(c)) + "\n";
    Wrap(GroupLine(ToUtf8(ConstantGroupOf(name))), "", "", text);
  });
  return found;
}

size_t EditDistance(const u16& a, const u16& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The names nearest to one that has no entry: the same name in another
// case first, then by edit distance (ignoring case), at most five.
std::vector<u16> Closest(const u16& name) {
  std::vector<u16> names;
  for (int i = 0; i < BuiltinCount(); ++i) names.push_back(BuiltinName(i));
  ForEachConstantRow([&](const char16_t* row, const EScriptConstant&) { names.push_back(row); });
  for (const char16_t* k : kKeywordNames) names.push_back(k);
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());

  u16 lower = ToLower(name);
  size_t limit = std::max<size_t>(1, name.size() / 3);
  std::vector<std::pair<size_t, u16>> near;
  for (const u16& candidate : names) {
    if (candidate == name) continue;
    size_t d = EditDistance(lower, ToLower(candidate));
    if (d <= limit) near.push_back({d, candidate});
  }
  std::sort(near.begin(), near.end());
  std::vector<u16> out;
  for (size_t i = 0; i < near.size() && i < 5; ++i) out.push_back(near[i].second);
  return out;
}

bool IsKeyword(const u16& name) {
  return std::find(std::begin(kKeywordNames), std::end(kKeywordNames), name) != std::end(kKeywordNames);
}

}  // namespace

bool HelpText(const u16& name, std::string& text) {
  std::string utf8 = ToUtf8(name);
  Lines section;
  if (FindBuiltin(name)) section = FindSection("builtins/", utf8);
  else if (IsKeyword(name)) section = FindSection("keywords.md", utf8);
  else return ConstantText(name, text);
  text = Render(section);
  return !section.empty();
}

int ShowHelp(const u16& name) {
  std::string text;
  if (HelpText(name, text)) {
    platform::WriteText(platform::Stream::Out, FromUtf8(text));
    return kRanClean;
  }
  u16 message = u"No entry for " + name + u".\n";
  std::vector<u16> near;
  if (FindBuiltin(name) || IsKeyword(name))
    message += name + (FindBuiltin(name) ? u" is a built-in" : u" is a keyword") +
               u", but the manual compiled into this zunrunc has no entry for it.\n";
  else near = Closest(name);
  for (size_t i = 0; i < near.size(); ++i) message += (i ? u", " : u"Did you mean: ") + near[i];
  if (!near.empty()) message += u"?\n";
  platform::WriteText(platform::Stream::Err, message);
  return kNothingRan;
}

}  // namespace zun
