// The examples a user starts from (examples/*.zunscript) through zunrunc:
// each recipe of the manual shows its example word for word, every
// example reads cleanly, every scenario (tests/examples) prints and
// leaves what it must, and each recipe's run prints what the page shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

#include "tests/support/process.h"
#include "tests/support/scenarios.h"
#include "tests/support/script_run.h"
#include "tests/support/test_main.h"

namespace zun::golden {
namespace {

namespace fs = std::filesystem;

std::string g_zunrunc;
fs::path g_root;  // the source tree

fs::path Examples() { return g_root / "examples"; }
fs::path Recipes() { return g_root / "docs" / "recipes"; }

// The examples by name, hello (the README's sample) included.
std::vector<std::string> ExampleNames() {
  std::vector<std::string> names;
  for (const fs::path& p : GoldenScripts(Examples())) names.push_back(p.stem().string());
  return names;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A fenced block of a Markdown page, with the number of prose lines
// between it and the block before.
struct Block {
  std::string kind;  // the first word of the info string
  std::set<std::string> marks;
  std::string body;
  int proseBefore = 0;
};

std::vector<Block> FencedBlocks(const std::string& page) {
  std::vector<Block> blocks;
  std::vector<std::string> lines;
  for (size_t start = 0; start <= page.size();) {
    size_t end = page.find('\n', start);
    if (end == std::string::npos) end = page.size();
    lines.push_back(page.substr(start, end - start));
    start = end + 1;
  }
  int prose = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    size_t ticks = line.find_first_not_of('`');
    if (line.compare(0, 3, "```") != 0 || line.find('`', ticks) != std::string::npos) {
      if (line.find_first_not_of(" \t\r") != std::string::npos) ++prose;
      continue;
    }
    std::string fence = line.substr(0, ticks);
    Block b;
    b.proseBefore = prose;
    std::istringstream words(line.substr(ticks));
    words >> b.kind;
    for (std::string w; words >> w;) b.marks.insert(w);
    for (++i; i < lines.size() && lines[i].compare(0, fence.size(), fence) != 0; ++i) b.body += lines[i] + "\n";
    blocks.push_back(b);
    prose = 0;
  }
  return blocks;
}

// A recipe's whole script: the page's first zunscript block, with the
// input and output blocks that belong to it (as the manual's checker
// attaches them: at most one line of prose between).
struct RecipeScript {
  bool found = false;
  Block script;
  std::optional<Block> input, output;
};

RecipeScript ScriptOf(const fs::path& page) {
  RecipeScript r;
  std::vector<Block> blocks = FencedBlocks(ReadBytes(page));
  for (size_t i = 0; i < blocks.size(); ++i) {
    if (blocks[i].kind != "zunscript") continue;
    r.found = true;
    r.script = blocks[i];
    for (size_t j = i + 1; j < blocks.size() && blocks[j].proseBefore <= 1; ++j) {
      if (blocks[j].kind == "input" && !r.input) r.input = blocks[j];
      else if (blocks[j].kind == "output" && !r.output) r.output = blocks[j];
      else break;
    }
    break;
  }
  return r;
}

// The one source of each script: the recipe page shows examples/NAME.zunscript
// byte for byte as its first zunscript block, and every example but the
// README's hello has its recipe, listed in the recipes' index.
TEST(Examples, EachRecipeShowsItsExampleWordForWord) {
  std::string index = ReadBytes(Recipes() / "index.md");
  ASSERT_FALSE(index.empty());
  std::set<std::string> pages;
  for (const auto& e : fs::directory_iterator(Recipes()))
    if (e.path().extension() == ".md" && e.path().filename() != "index.md") pages.insert(e.path().stem().string());
  for (const std::string& name : ExampleNames()) {
    if (name == "hello") continue;
    EXPECT_TRUE(pages.count(name)) << "examples/" << name << ".zunscript has no docs/recipes/" << name << ".md";
  }
  for (const std::string& page : pages) {
    SCOPED_TRACE("docs/recipes/" + page + ".md");
    RecipeScript recipe = ScriptOf(Recipes() / (page + ".md"));
    ASSERT_TRUE(recipe.found);
    std::string example = ReadBytes(Examples() / (page + ".zunscript"));
    EXPECT_FALSE(example.empty()) << "no examples/" << page << ".zunscript";
    EXPECT_EQ(recipe.script.body, example) << "the page's first zunscript block must be the example, byte for byte";
    EXPECT_TRUE(Has(index, "(" + page + ".md)")) << "the index does not link " << page << ".md";
  }
}

// Every example reads without a lexical error, and every one but hello
// (a golden script of its own) has at least one scenario.
TEST(Examples, EachExampleIsCheckedAndHasScenarios) {
  std::set<std::string> withScenarios;
  for (const Scenario& s : Scenarios(g_root / "tests" / "examples")) withScenarios.insert(s.example);
  for (const std::string& name : ExampleNames()) {
    ProcessResult r = RunProcess(g_zunrunc, {"--check", HostPath((Examples() / (name + ".zunscript")).string())}, "");
    EXPECT_EQ(r.exitCode, 0) << name << ": " << r.err;
    bool covered = name == "hello" || withScenarios.count(name);
    EXPECT_TRUE(covered) << name << " has no folder in tests/examples";
  }
  for (const std::string& name : withScenarios)
    EXPECT_TRUE(fs::exists(Examples() / (name + ".zunscript"))) << "tests/examples/" << name << " has no example";
}

// The settings every run has: UTC, the C locale.
const std::vector<std::string> kRunEnv = {"TZ=UTC0", "LC_ALL=C"};

TEST(Examples, ScenariosPrintAndLeaveWhatTheyMust) {
  std::vector<Scenario> scenarios = Scenarios(g_root / "tests" / "examples");
  ASSERT_FALSE(scenarios.empty());
  ScopedEnv env(kRunEnv);
  for (const Scenario& s : scenarios) {
#ifdef _WIN32
    if (s.linuxOnly) continue;
#endif
    SCOPED_TRACE(s.Label());
    ConsoleExpectation expected = ForConsole(s.transcript);
    ASSERT_TRUE(expected.answerable) << "zunrunc cannot answer this transcript";
    RunFolder folder(s.Label());
    folder.Fill(s);
    ProcessResult r;
    {
      ScopedCurrentFolder here(folder.Path());
      r = RunProcess(g_zunrunc, {HostPath((Examples() / (s.example + ".zunscript")).string())}, expected.input);
    }
    EXPECT_EQ(r.out, expected.out);
    EXPECT_EQ(r.exitCode, expected.engineBlocks.empty() ? 0 : 1) << r.err;
    EXPECT_EQ(folder.Differences(s), "");
  }
}

// The run a recipe page shows (its input and output blocks): in an empty
// folder, from a file named example.zunscript, as the manual's checker
// runs it.
TEST(Examples, RecipeRunsPrintWhatThePagesShow) {
  ScopedEnv env(kRunEnv);
  int shown = 0;
  for (const std::string& name : ExampleNames()) {
    if (!fs::exists(Recipes() / (name + ".md"))) continue;
    RecipeScript recipe = ScriptOf(Recipes() / (name + ".md"));
    if (!recipe.output) {
      EXPECT_FALSE(recipe.script.marks.empty()) << name << ": a runnable recipe script shows its output";
      continue;
    }
    SCOPED_TRACE(name);
    ++shown;
    RunFolder folder(name + "-recipe");
    fs::path script = folder.Path() / "example.zunscript";
    std::ofstream(script, std::ios::binary) << recipe.script.body;
    ScopedCurrentFolder here(folder.Path());
    ProcessResult r = RunProcess(g_zunrunc, {script.string()}, recipe.input ? recipe.input->body : "");
    EXPECT_EQ(r.out, recipe.output->body);
    EXPECT_EQ(r.exitCode, 0) << r.err;
  }
  EXPECT_GT(shown, 0);
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t yoe = y - era * 400;
  int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// The log's stamp is the time of the run (in UTC here), not merely a
// text of the right shape, and an existing log keeps its lines.
TEST(Examples, LogLinesCarryTheTimeOfTheRun) {
  ScopedEnv env(kRunEnv);
  RunFolder folder("timestamped-log-time");
  std::ofstream(folder.Path() / "zunrun-log.txt", std::ios::binary) << "older line\r\n";
  ScopedCurrentFolder here(folder.Path());
  int64_t before = static_cast<int64_t>(std::time(nullptr));
  ProcessResult r = RunProcess(g_zunrunc, {HostPath((Examples() / "timestamped-log.zunscript").string())}, "tea\n");
  int64_t after = static_cast<int64_t>(std::time(nullptr));
  EXPECT_EQ(r.out, "Logged. zunrun-log.txt has 2 line(s) now.\n") << r.err;
  std::string log = ReadBytes(folder.Path() / "zunrun-log.txt");
  const std::string head = "older line\r\n";
  ASSERT_EQ(log.compare(0, head.size(), head), 0) << log;
  std::string line = log.substr(head.size());
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char note[16] = "";
  ASSERT_EQ(std::sscanf(line.c_str(), "%4d-%2d-%2d %2d:%2d:%2d  %15[^\r]", &y, &mo, &d, &h, &mi, &s, note), 7) << line;
  EXPECT_EQ(std::string(note), "tea");
  EXPECT_EQ(line.size(), std::string("2024-01-01 00:00:00  tea\r\n").size()) << line;
  int64_t stamp = DaysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + s;
  EXPECT_GE(stamp, before);
  EXPECT_LE(stamp, after);
}

}  // namespace
}  // namespace zun::golden

int main(int argc, char** argv) {
  return zun::tests::RunTests(argc, argv, 2, "zun_examples_tests ZUNRUNC SOURCE_DIR", [](int, char** args) {
    // Absolute: the runs happen in folders of their own.
    namespace fs = std::filesystem;
    zun::golden::g_zunrunc = fs::absolute(zun::golden::HostPath(args[0])).string();
    zun::golden::g_root = fs::absolute(zun::golden::HostPath(args[1]));
  });
}
