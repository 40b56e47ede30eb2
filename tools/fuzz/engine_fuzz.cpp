// libFuzzer target: any text as a script, run once in a fresh engine. A
// watchdog stands in for Ctrl+Pause after a moment, so endless loops and
// long sleeps end the way a user would end them.
// Build and run: see tools/zun (the fuzz step of "test"); it runs the target
// in an empty folder, since scripts may create files there.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

#include "builtins/table.h"
#include "engine/engine.h"
#include "platform/stop.h"

namespace {

using Clock = std::chrono::steady_clock;
std::atomic<int64_t> g_deadline{INT64_MAX};

int64_t Now() { return Clock::now().time_since_epoch().count(); }

void Watchdog() {
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (Now() > g_deadline.load()) zun::platform::RequestStop();
  }
}

class QuietDialogs : public zun::IScriptDialogs {
 public:
  int MessageBox(void*, const zun::u16&, const zun::u16&, uint32_t type) override {
    return zun::MessageBoxButtons(type).front();
  }
  zun::u16 InputBox(void*, const zun::u16&, bool, int& button) override {
    button = zun::ID_CANCEL;
    return zun::u16();
  }
  int ShowMenu(void*, const std::vector<zun::MenuItem>& items) override { return items.empty() ? -1 : 1; }
  void EngineBox(void*, const zun::u16&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool started = (std::thread(Watchdog).detach(), true);
  (void)started;
  static QuietDialogs dialogs;
  zun::platform::ClearStop();
  g_deadline = Now() + std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(100)).count();
  zun::EZunScriptEngine engine;
  engine.SetDialogs(&dialogs);
  engine.SetBuiltinLookup(zun::FindBuiltin, zun::FindIntrinsic);
  engine.Initialize();
  engine.SetScript(zun::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size)));
  engine.Run();
  g_deadline = INT64_MAX;
  return 0;
}
