// Every golden script through the real zunrun.exe: the driver answers from
// the transcript and what the program showed must match it exactly.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"

using namespace zun;
using namespace zun::e2e;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// "// env: A=B C=D" on the first line of a script.
std::vector<std::string> EnvOf(const std::string& script) {
  std::vector<std::string> env;
  const std::string prefix = "// env: ";
  if (script.compare(0, prefix.size(), prefix) != 0) return env;
  std::istringstream words(script.substr(prefix.size(), script.find_first_of("\r\n") - prefix.size()));
  std::string w;
  while (words >> w) env.push_back(w);
  return env;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: zun_golden_exe SCRIPTS_DIR ZUNRUN_EXE [NAME]\n");
    return 2;
  }
  std::string dir = WindowsPath(argv[1]), exe = WindowsPath(argv[2]);
  std::vector<std::string> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Wide(dir + "\\*.zunscript").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do names.push_back(Utf8(fd.cFileName));
    while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  std::sort(names.begin(), names.end());
  int passed = 0, failed = 0;
  for (const auto& name : names) {
    std::string stem = name.substr(0, name.size() - 10);
    if (argc > 3 && stem != argv[3]) continue;
    std::string script = dir + "\\" + name;
    std::string want;
    RunOptions o;
    o.args = {script};
    o.expected = golden::ParseTranscript(ReadAll(dir + "\\" + stem + ".transcript"));
    for (const auto& e : o.expected) want += golden::FormatEntry(e) + "\n";
    o.env = EnvOf(ReadAll(script));
    o.timeoutMs = 30000;
    // The runner's dialog only shows itself when it cannot run the script.
    o.onMainDialog = [](HWND, const MainDialogState&) { return true; };
    RunResult r = RunProgram(exe, o);
    std::string got = r.Transcript();
    if (r.ended && got == want && !r.mainDialog.visible) {
      ++passed;
      std::printf("ok   %s\n", name.c_str());
    } else {
      ++failed;
      std::printf("FAIL %s (ended: %d, dialog shown: %d)\n--- expected\n%s--- got\n%s---\n", name.c_str(), r.ended,
                  r.mainDialog.visible, want.c_str(), got.c_str());
    }
    std::fflush(stdout);
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 && passed > 0 ? 0 : 1;
}
