// Every golden script through the real zunrun.exe: the driver answers from
// the transcript and what the program showed must match it exactly.
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
    std::string want;
    RunOptions o;
    o.args = {script};
    o.expected = golden::ParseTranscript(golden::ReadBytes(std::filesystem::path(path).replace_extension(".transcript")));
    for (const auto& e : o.expected) want += golden::FormatEntry(e) + "\n";
    o.env = golden::EnvOf(golden::ReadBytes(path));
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
