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
  std::string dir = WindowsPath(argv[1]), exe = WindowsPath(argv[2]);
  int passed = 0, failed = 0;
  for (const std::filesystem::path& path : golden::GoldenScripts(dir)) {
    std::string name = path.filename().string(), stem = path.stem().string();
    if (argc > 3 && stem != argv[3]) continue;
    std::string script = path.string();
    RunOptions o;
    o.args = {script};
    o.expected = golden::ParseTranscript(golden::ReadBytes(std::filesystem::path(path).replace_extension(".transcript")));
    std::string want = golden::FormatTranscript(o.expected);
    DWORD status = 0;  // 1 after a script error, which the engine's own boxes show
    for (const auto& e : o.expected)
      if (e.kind == "box" && e.fields[0] == "ZunRun") status = 1;
    o.env = golden::EnvOf(golden::ReadBytes(path));
    o.timeoutMs = 30000;
    // The runner's dialog only shows itself when it cannot run the script.
    o.onMainDialog = [](HWND, const MainDialogState&) { return true; };
    RunResult r = RunProgram(exe, o);
    std::string got = r.Transcript();
    if (r.ended && got == want && !r.mainDialog.visible && r.exitCode == status) {
      ++passed;
      std::printf("ok   %s\n", name.c_str());
    } else {
      ++failed;
      std::printf("FAIL %s (ended: %d, dialog shown: %d, exit status %lu)\n--- expected\n%s--- got\n%s---\n",
                  name.c_str(), r.ended, r.mainDialog.visible, r.exitCode, want.c_str(), got.c_str());
    }
    std::fflush(stdout);
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 && passed > 0 ? 0 : 1;
}
