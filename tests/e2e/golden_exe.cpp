// Every golden script through the real zunrun.exe: the driver answers from
// the transcript; what the program showed must match it exactly, and it must
// end by itself with the status of a clean run or of a script error.
#include <windows.h>

#include <cstdio>

#include "tests/e2e/driver.h"

using namespace zun;
using namespace zun::e2e;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: zun_golden_exe SCRIPTS_DIR ZUNRUN_EXE [NAME]\n");
    return 2;
  }
  std::string exe = HostPath(argv[2]);
  auto run = [&](const std::filesystem::path& path, const std::vector<golden::Entry>& expected, std::string& problem) {
    RunOptions o;
    o.args = {path.string()};
    o.expected = expected;
    o.env = golden::EnvOf(golden::ReadBytes(path));
    o.timeoutMs = 30000;
    // The runner's dialog only shows itself when it cannot run the script.
    o.onMainDialog = [](HWND, const MainDialogState&) { return true; };
    RunResult r = RunProgram(exe, o);
    DWORD status = 0;  // 1 after a script error, which the engine's own boxes show
    for (const auto& e : expected)
      if (e.kind == "box" && e.fields[0] == "ZunRun") status = 1;
    if (!r.ended || r.mainDialog.visible || r.exitCode != status)
      problem = " (ended: " + std::to_string(r.ended) + ", dialog shown: " + std::to_string(r.mainDialog.visible) +
                ", exit status " + std::to_string(r.exitCode) + ")";
    return r.Transcript();
  };
  return golden::CheckGoldenScripts(HostPath(argv[1]), argc > 3 ? argv[3] : "", false, run);
}
