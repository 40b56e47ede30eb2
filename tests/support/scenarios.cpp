// The examples' scenarios: their folders before and after a run, and the run itself.
#include "tests/support/scenarios.h"

#include <algorithm>
#include <map>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace zun::golden {

namespace fs = std::filesystem;

std::vector<Scenario> Scenarios(const fs::path& root) {
  std::vector<Scenario> all;
  for (const auto& example : fs::directory_iterator(root)) {
    if (!example.is_directory()) continue;
    for (const auto& run : fs::directory_iterator(example.path())) {
      if (!run.is_directory()) continue;
      Scenario s;
      s.example = example.path().filename().string();
      s.name = run.path().filename().string();
      s.dir = run.path();
      s.transcript = ParseTranscript(ReadBytes(run.path() / "transcript"));
      s.linuxOnly = s.name.rfind("linux-", 0) == 0;
      all.push_back(s);
    }
  }
  std::sort(all.begin(), all.end(), [](const Scenario& a, const Scenario& b) { return a.Label() < b.Label(); });
  return all;
}

namespace {

void RemoveAll(const fs::path& folder) {
  std::error_code ec;
  for (const auto& entry : fs::recursive_directory_iterator(folder, ec))
    fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
  fs::remove_all(folder, ec);
}

// Every file and folder below `folder` by its relative path ("/" between
// parts); a folder's contents are "/" for itself.
std::map<std::string, std::string> Contents(const fs::path& folder) {
  std::map<std::string, std::string> contents;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return contents;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    std::string name = entry.path().lexically_relative(folder).generic_string();
    contents[name] = entry.is_directory() ? "/" : ReadBytes(entry.path());
  }
  return contents;
}

// '#' in the expected text stands for any one digit.
bool Matches(const std::string& expected, const std::string& actual) {
  if (expected.size() != actual.size()) return false;
  for (size_t i = 0; i < expected.size(); ++i) {
    bool digit = actual[i] >= '0' && actual[i] <= '9';
    if (expected[i] != actual[i] && !(expected[i] == '#' && digit)) return false;
  }
  return true;
}

}  // namespace

RunFolder::RunFolder(const std::string& label) {
#ifdef _WIN32
  unsigned long pid = GetCurrentProcessId();
#else
  unsigned long pid = static_cast<unsigned long>(getpid());
#endif
  std::string name = label;
  std::replace(name.begin(), name.end(), '/', '-');
  path_ = fs::temp_directory_path() / ("zunrun-example-" + name + "-" + std::to_string(pid));
  RemoveAll(path_);
  fs::create_directories(path_);
}

RunFolder::~RunFolder() { RemoveAll(path_); }

void RunFolder::Fill(const Scenario& scenario) const {
  fs::path before = scenario.dir / "before";
  if (fs::is_directory(before)) fs::copy(before, path_, fs::copy_options::recursive);
}

std::string RunFolder::Differences(const Scenario& scenario) const {
  fs::path after = scenario.dir / "after";
  std::map<std::string, std::string> want = Contents(fs::is_directory(after) ? after : scenario.dir / "before");
  std::map<std::string, std::string> got = Contents(path_);
  std::string differences;
  for (const auto& [name, bytes] : want) {
    auto it = got.find(name);
    if (it == got.end()) differences += "missing: " + name + "\n";
    else if (!Matches(bytes, it->second)) differences += "differs: " + name + "\n--- got\n" + it->second + "\n---\n";
  }
  for (const auto& [name, bytes] : got)
    if (!want.count(name)) differences += "not expected: " + name + "\n";
  return differences;
}

ScopedCurrentFolder::ScopedCurrentFolder(const fs::path& folder) : old_(fs::current_path()) {
  fs::current_path(folder);
}

ScopedCurrentFolder::~ScopedCurrentFolder() { fs::current_path(old_); }

}  // namespace zun::golden
