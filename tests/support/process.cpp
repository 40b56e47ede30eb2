// Runs a program with its standard streams captured, within a time limit.
#include "tests/support/process.h"

#include "platform/arguments.h"
#include "tests/support/transcript.h"
#include "text/text.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace zun::golden {

namespace {

namespace fs = std::filesystem;

// Three files beside each other for the streams; removed afterwards.
struct StreamFiles {
  fs::path in, out, err;
  StreamFiles() {
    static int counter = 0;
    fs::path base = fs::temp_directory_path() / ("zunrun-process-" + std::to_string(++counter));
#ifdef _WIN32
    base += "-" + std::to_string(GetCurrentProcessId());
#else
    base += "-" + std::to_string(getpid());
#endif
    in = base.string() + ".in";
    out = base.string() + ".out";
    err = base.string() + ".err";
  }
  ~StreamFiles() {
    std::error_code ec;
    for (const auto& p : {in, out, err}) fs::remove(p, ec);
  }
};

}  // namespace

#ifdef _WIN32
namespace {
HANDLE Inheritable(const fs::path& p, bool write) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  return CreateFileW(p.wstring().c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
}  // namespace

std::wstring CommandLine(const std::string& exe, const std::vector<std::string>& args) {
  std::vector<u16> all{FromUtf8(exe)};
  for (const auto& a : args) all.push_back(FromUtf8(a));
  u16 line = JoinCommandLine(all);
  return std::wstring(line.begin(), line.end());
}

ProcessResult RunProcess(const std::string& exe, const std::vector<std::string>& args, const std::string& input,
                         int timeoutMs) {
  ProcessResult r;
  StreamFiles files;
  std::ofstream(files.in, std::ios::binary) << input;
  std::wstring cmd = CommandLine(exe, args);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = Inheritable(files.in, false);
  si.hStdOutput = Inheritable(files.out, true);
  si.hStdError = Inheritable(files.err, true);
  PROCESS_INFORMATION pi{};
  r.started = CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  for (HANDLE h : {si.hStdInput, si.hStdOutput, si.hStdError}) CloseHandle(h);
  if (!r.started) return r;
  if (WaitForSingleObject(pi.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
    r.timedOut = true;
    TerminateProcess(pi.hProcess, 99);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  r.exitCode = static_cast<int>(code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  r.out = ReadBytes(files.out);
  r.err = ReadBytes(files.err);
  return r;
}
#else
ProcessResult RunProcess(const std::string& exe, const std::vector<std::string>& args, const std::string& input,
                         int timeoutMs) {
  ProcessOptions options;
  options.input = input;
  options.timeoutMs = timeoutMs;
  return RunProcess(exe, args, options);
}

ProcessResult RunProcess(const std::string& exe, const std::vector<std::string>& args, const ProcessOptions& options) {
  ProcessResult r;
  StreamFiles files;
  std::ofstream(files.in, std::ios::binary) << options.input;
  std::string outPath = options.stdoutPath.empty() ? files.out.string() : options.stdoutPath;
  std::vector<char*> argv{const_cast<char*>(exe.c_str())};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    int in = open(files.in.c_str(), O_RDONLY);
    int err = open(files.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(in, 0);
    dup2(err, 2);
    if (outPath == "-") {
      close(1);
    } else {
      int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(out, 1);
    }
    if (options.addressSpaceBytes) {
      struct rlimit limit = {options.addressSpaceBytes, options.addressSpaceBytes};
      setrlimit(RLIMIT_AS, &limit);
    }
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  r.started = pid > 0;
  if (!r.started) return r;
  int status = 0;
  size_t signalled = 0;
  int sinceSignal = -1;
  for (int waited = 0;; waited += 5) {
    if (waitpid(pid, &status, WNOHANG) == pid) break;
    if (signalled < options.signals.size() &&
        ReadBytes(files.out).find(options.signalWhenOutputHas) != std::string::npos) {
      kill(pid, options.signals[signalled++]);
      if (sinceSignal < 0) sinceSignal = 0;
    }
    if (waited >= options.timeoutMs && !r.timedOut) {
      r.timedOut = true;
      kill(pid, SIGKILL);
    }
    if (sinceSignal >= 0) sinceSignal += 5;
    usleep(5000);
  }
  r.msFromSignalToExit = sinceSignal;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.out = outPath == files.out.string() ? ReadBytes(files.out) : "";
  r.err = ReadBytes(files.err);
  return r;
}
#endif

}  // namespace zun::golden
