// zunrun.exe on a display nobody looks at: prints every box the program
// shows, presses its first button, and prints the main dialog if it shows.
#include <cstdio>

#include "tests/e2e/driver.h"

using namespace zun;
using namespace zun::e2e;

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zun_watch ZUNRUN_EXE [ARGUMENTS...]\n");
    return 2;
  }
  RunOptions o;
  for (int i = 2; i < argc; ++i) o.args.push_back(HostPath(argv[i]));
  o.timeoutMs = 600000;
  o.onEntry = [](const golden::Entry& e) {
    std::printf("[%s] %s  (%s pressed)\n", e.fields[0].c_str(), e.fields[2].c_str(), e.fields[3].c_str());
    std::fflush(stdout);
  };
  o.onMainDialog = [](HWND, const MainDialogState& md) {
    std::printf("[ZunRun dialog] %s\n%s\n", md.status.c_str(), md.output.c_str());
    return true;
  };
  RunResult r = RunProgram(HostPath(argv[1]), o);
  if (!r.started) {
    std::fprintf(stderr, "zun_watch: could not start %s\n", argv[1]);
    return 2;
  }
  if (!r.ended) return r.mainDialog.visible ? 2 : 3;
  std::printf("zunrun.exe ended (exit code %lu)\n", r.exitCode);
  return 0;
}
