// Golden transcripts: writing, reading and comparing them.
#include "tests/support/transcript.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace zun::golden {

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 >= s.size()) {
      out.push_back(s[i]);
      continue;
    }
    char e = s[++i];
    out.push_back(e == 'r' ? '\r' : e == 'n' ? '\n' : e == 't' ? '\t' : e);
  }
  return out;
}

std::vector<Entry> ParseTranscript(const std::string& text) {
  std::vector<Entry> entries;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    Entry e;
    size_t start = 0;
    bool first = true;
    for (;;) {
      size_t tab = line.find('\t', start);
      std::string field = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
      if (first) e.kind = field;
      else e.fields.push_back(Unescape(field));
      first = false;
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    entries.push_back(e);
  }
  return entries;
}

std::string FormatTranscript(const std::vector<Entry>& entries) {
  std::string out;
  for (const Entry& e : entries) {
    out += e.kind;
    for (const auto& f : e.fields) out += "\t" + Escape(f);
    out += "\n";
  }
  return out;
}

namespace {
const std::string kChecked = "(checked)";
const std::string kGrayed = "(grayed)";
}  // namespace

std::string FormatMenuLines(const std::vector<MenuLine>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    const MenuLine& line = lines[i];
    out += (i ? "|" : "") + (line.checked ? kChecked : "") + (line.grayed ? kGrayed : "") + line.text;
  }
  return out;
}

std::vector<MenuLine> ParseMenuLines(const std::string& list) {
  std::vector<MenuLine> lines;
  for (size_t start = 0;;) {
    size_t bar = list.find('|', start);
    MenuLine line;
    line.text = list.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    auto strip = [&](const std::string& marker, bool& flag) {
      flag = line.text.compare(0, marker.size(), marker) == 0;
      if (flag) line.text.erase(0, marker.size());
    };
    strip(kChecked, line.checked);
    strip(kGrayed, line.grayed);
    line.separator = line.text.empty();
    lines.push_back(line);
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return lines;
}

namespace {

// A box's text as the console shows it: every line break one "\n".
std::string TerminalLines(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i] == '\r' ? '\n' : text[i]);
  }
  return out;
}

}  // namespace

ConsoleExpectation ForConsole(const std::vector<Entry>& entries) {
  ConsoleExpectation c;
  bool inputEnded = false;  // a cancelled input box closed standard input
  auto reads = [&](const std::string& line) {
    if (inputEnded) c.answerable = false;
    c.input += line + "\n";
  };
  for (const Entry& e : entries) {
    if (e.kind == "box") {
      const std::string& caption = e.fields[0];
      std::string text = TerminalLines(e.fields[2]);
      if (caption == "ZunRun") {
        c.engineBlocks.push_back(text);
        continue;
      }
      c.out += (caption == "ZUN Script" ? text : "[" + caption + "] " + text) + "\n";
      if (e.fields[1].find('|') != std::string::npos) reads(e.fields[3]);
    } else if (e.kind == "input") {
      if (e.fields[3] == "OK") {
        reads(e.fields[2]);
      } else {
        if (inputEnded || !e.fields[2].empty()) c.answerable = false;
        inputEnded = true;
      }
    } else {
      reads(e.fields[1]);
    }
  }
  return c;
}

std::vector<std::filesystem::path> GoldenScripts(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> scripts;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    if (e.path().extension() == ".zunscript") scripts.push_back(e.path());
  std::sort(scripts.begin(), scripts.end());
  return scripts;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> EnvOf(const std::string& script) {
  const std::string prefix = "// env: ";
  std::vector<std::string> env;
  if (script.compare(0, prefix.size(), prefix) != 0) return env;
  std::istringstream words(script.substr(prefix.size(), script.find_first_of("\r\n") - prefix.size()));
  for (std::string w; words >> w;)
    if (w.find('=') != std::string::npos) env.push_back(w);
  return env;
}

std::string HostPath(const std::string& path) {
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') {
    std::string out = "Z:" + path;
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
  }
#endif
  return path;
}

int CheckGoldenScripts(const std::filesystem::path& folder, const std::string& only, bool update,
                       const GoldenRun& run) {
  int passed = 0, failed = 0;
  for (const std::filesystem::path& script : GoldenScripts(folder)) {
    if (!only.empty() && script.stem().string() != only) continue;
    std::filesystem::path transcript = std::filesystem::path(script).replace_extension(".transcript");
    std::vector<Entry> expected = ParseTranscript(ReadBytes(transcript));
    std::string problem, want = FormatTranscript(expected);
    std::string got = run(script, expected, problem);
    if (update && got != want && problem.empty()) {
      std::ofstream(transcript, std::ios::binary) << got;
      std::printf("updated %s\n", transcript.filename().string().c_str());
      want = got;
    }
    std::string name = script.filename().string();
    if (got == want && problem.empty()) {
      ++passed;
      std::printf("ok   %s\n", name.c_str());
    } else {
      ++failed;
      std::printf("FAIL %s%s\n--- expected\n%s--- got\n%s---\n", name.c_str(), problem.c_str(), want.c_str(),
                  got.c_str());
    }
    std::fflush(stdout);
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 && passed > 0 ? 0 : 1;
}

}  // namespace zun::golden
