// Runs one program on many arguments, a few at a time, and reports each run:
// what it wrote on standard output and standard error and how it ended. Under
// Wine, starting a process from a running Windows program costs a fraction
// of starting Wine again, so the differential test starts this once.
//
//   zun_batch_run PROGRAM LIST [JOBS] [TIMEOUT_MS]
//
// LIST holds one argument per line (a script path). For each, in the list's
// order, standard output gets a header line
//   #INDEX STATUS OUT_BYTES ERR_BYTES
// (STATUS the exit status, or "timeout" or "nostart") and then the bytes of
// standard output and standard error. Standard input is empty.
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace {

std::string ReadAll(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Run {
  size_t index = 0;
  HANDLE process = nullptr;
  DWORD started = 0;
  std::wstring outPath, errPath;
};

HANDLE OpenStream(const std::wstring& path, bool write) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  return CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &sa, write ? CREATE_ALWAYS : OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: zun_batch_run PROGRAM LIST [JOBS] [TIMEOUT_MS]\n");
    return 2;
  }
  _setmode(_fileno(stdout), _O_BINARY);  // the bytes as the programs wrote them
  std::string program = argv[1];
  std::vector<std::string> items;
  std::ifstream list(argv[2]);
  for (std::string line; std::getline(list, line);)
    if (!line.empty()) items.push_back(line.back() == '\r' ? line.substr(0, line.size() - 1) : line);
  size_t jobs = argc > 3 ? std::stoul(argv[3]) : 2;
  DWORD timeoutMs = argc > 4 ? std::stoul(argv[4]) : 20000;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring base = std::wstring(temp) + L"zun-batch-" + std::to_wstring(GetCurrentProcessId()) + L"-";
  HANDLE nul = OpenStream(L"NUL", false);

  // Results are printed in the list's order; finished ones wait their turn.
  std::vector<std::string> done(items.size());
  std::vector<bool> finished(items.size());
  size_t next = 0, printed = 0;
  std::vector<Run> running;
  auto flush = [&] {
    while (printed < items.size() && finished[printed]) {
      std::fwrite(done[printed].data(), 1, done[printed].size(), stdout);
      done[printed].clear();
      done[printed].shrink_to_fit();
      ++printed;
    }
  };
  while (printed < items.size()) {
    while (running.size() < jobs && next < items.size()) {
      Run r;
      r.index = next++;
      r.outPath = base + std::to_wstring(r.index) + L".out";
      r.errPath = base + std::to_wstring(r.index) + L".err";
      HANDLE out = OpenStream(r.outPath, true), err = OpenStream(r.errPath, true);
      STARTUPINFOW si{};
      si.cb = sizeof si;
      si.dwFlags = STARTF_USESTDHANDLES;
      si.hStdInput = nul;
      si.hStdOutput = out;
      si.hStdError = err;
      PROCESS_INFORMATION pi{};
      std::wstring cmd = zun::golden::CommandLine(program, {items[r.index]});
      // Without a console, zunrunc.exe writes UTF-8 as zunrunc does, so the
      // texts compare byte for byte (with one, it would use the console's code
      // page, a difference docs/platforms.md describes).
      bool ok =
          CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr, nullptr, &si, &pi);
      CloseHandle(out);
      CloseHandle(err);
      if (!ok) {
        char header[64];
        std::snprintf(header, sizeof header, "#%zu nostart 0 0\n", r.index);
        done[r.index] = header;
        finished[r.index] = true;
        continue;
      }
      CloseHandle(pi.hThread);
      r.process = pi.hProcess;
      r.started = GetTickCount();
      running.push_back(r);
    }
    if (running.empty()) {
      flush();
      continue;
    }
    std::vector<HANDLE> handles;
    for (const Run& r : running) handles.push_back(r.process);
    WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, 200);
    for (size_t i = 0; i < running.size();) {
      Run& r = running[i];
      bool ended = WaitForSingleObject(r.process, 0) == WAIT_OBJECT_0;
      bool late = !ended && GetTickCount() - r.started > timeoutMs;
      if (!ended && !late) {
        ++i;
        continue;
      }
      std::string status = "timeout";
      if (late) {
        TerminateProcess(r.process, 255);
        WaitForSingleObject(r.process, 5000);
      } else {
        DWORD code = 0;
        GetExitCodeProcess(r.process, &code);
        status = std::to_string(code);
      }
      CloseHandle(r.process);
      std::string out = ReadAll(r.outPath), err = ReadAll(r.errPath);
      DeleteFileW(r.outPath.c_str());
      DeleteFileW(r.errPath.c_str());
      char header[96];
      std::snprintf(header, sizeof header, "#%zu %s %zu %zu\n", r.index, status.c_str(), out.size(), err.size());
      done[r.index] = header + out + err;
      finished[r.index] = true;
      running.erase(running.begin() + static_cast<long>(i));
    }
    flush();
  }
  std::fflush(stdout);
  return 0;
}
