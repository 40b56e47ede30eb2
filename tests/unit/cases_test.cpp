// The case tables of tests/cases: short scripts beside what they show.
//
// A case is one or more lines of script followed by "=> " and the texts the
// script showed, joined by "|" (after an error, "ERR:" and its first
// message), with \r, \n, \t and \\ escaped. "## " starts a comment;
// "## env: NAME=VALUE ..." sets the environment for the cases that follow,
// and "## mode: check" makes them show what a structure check finds.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "tests/support/script_run.h"
#include "tests/support/transcript.h"

namespace zun {
namespace {

namespace fs = std::filesystem;

TEST(Cases, EveryScriptShowsWhatItsTableSays) {
  std::vector<fs::path> tables;
  for (const auto& e : fs::directory_iterator(ZUN_CASES_DIR))
    if (e.path().extension() == ".cases") tables.push_back(e.path());
  std::sort(tables.begin(), tables.end());
  ASSERT_FALSE(tables.empty());
  for (const fs::path& table : tables) {
    std::ifstream in(table, std::ios::binary);
    std::string line, script;
    std::unique_ptr<golden::ScopedEnv> env;
    bool check = false;
    for (int number = 1; std::getline(in, line); ++number) {
      if (line.rfind("## env: ", 0) == 0) {
        env.reset();  // the old values come back first
        env = std::make_unique<golden::ScopedEnv>(golden::EnvOf("// " + line.substr(3)));
      }
      if (line == "## mode: check") check = true;
      if (line.rfind("## ", 0) == 0 || (line.empty() && script.empty())) continue;
      if (line.rfind("=> ", 0) != 0) {
        script += (script.empty() ? "" : "\n") + line;
        continue;
      }
      EXPECT_EQ(check ? golden::ChecksAs(script) : golden::Shows(script), golden::Unescape(line.substr(3)))
          << table.filename().string() << ":" << number << ": " << script;
      script.clear();
    }
    EXPECT_TRUE(script.empty()) << table.filename().string() << " ends inside a case";
  }
}

}  // namespace
}  // namespace zun
