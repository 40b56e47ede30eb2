// Starts a program and, until it ends, prints what it holds every few
// seconds: private bytes, working set, kernel handles, GDI and USER objects,
// processor time, and the number in a file (the soak script's count of passes).
//
//   zun_soak_probe INTERVAL_MS LIMIT_MS COUNT_FILE PROGRAM [ARGS...]
//
// A program still running after LIMIT_MS is ended ("exit timeout").
//
// Each sample is one line: "sample MS PRIVATE WORKING_SET HANDLES GDI USER
// COUNT CPU_MS", with -1 for a number that cannot be had (Wine counts no GDI and
// USER objects and gives no private bytes of another process: 0); the last
// line is "exit STATUS".
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace {

// The handles of one process from the system's list of all handles: Wine
// answers GetProcessHandleCount for another process with 0, but keeps this
// list. 0 when it cannot be read.
DWORD CountHandles(DWORD pid) {
  struct Entry {  // SYSTEM_HANDLE_TABLE_ENTRY_INFO
    USHORT process, backTrace;
    UCHAR type, attributes;
    USHORT value;
    PVOID object;
    ULONG access;
  };
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return 0;
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
  std::vector<char> buffer(1 << 20);
  LONG status;
  while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), nullptr)) ==
         kLengthMismatch)
    buffer.resize(buffer.size() * 2);
  if (status != 0) return 0;
  ULONG n = *reinterpret_cast<ULONG*>(buffer.data());
  const Entry* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
  DWORD count = 0;
  for (ULONG i = 0; i < n; ++i)
    if (entries[i].process == static_cast<USHORT>(pid)) ++count;
  return count;
}

// GDI or USER objects; -1 where the system does not count them (Wine).
long long GuiObjects(HANDLE process, DWORD kind) {
  SetLastError(0);
  DWORD n = GetGuiResources(process, kind);
  return n == 0 && GetLastError() != 0 ? -1 : static_cast<long long>(n);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: zun_soak_probe INTERVAL_MS LIMIT_MS COUNT_FILE PROGRAM [ARGS...]\n");
    return 2;
  }
  DWORD interval = std::stoul(argv[1]), limit = std::stoul(argv[2]);
  std::string countFile = argv[3];
  std::wstring cmd = zun::golden::CommandLine(argv[4], std::vector<std::string>(argv + 5, argv + argc));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::printf("exit nostart\n");
    return 1;
  }
  CloseHandle(pi.hThread);
  DWORD start = GetTickCount();
  while (WaitForSingleObject(pi.hProcess, interval) == WAIT_TIMEOUT) {
    if (GetTickCount() - start > limit) {
      TerminateProcess(pi.hProcess, 255);
      std::printf("exit timeout\n");
      return 1;
    }
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    // A pass keeps a file open for most of its time (it waits for the disk):
    // the least of a few quick looks is the count that a leak would raise.
    DWORD handles = 0;
    for (int look = 0; look < 5; ++look) {
      DWORD n = 0;
      if (!GetProcessHandleCount(pi.hProcess, &n) || n == 0) n = CountHandles(pi.dwProcessId);
      if (look == 0 || n < handles) handles = n;
      Sleep(20);
    }
    long long gdi = GuiObjects(pi.hProcess, GR_GDIOBJECTS), user = GuiObjects(pi.hProcess, GR_USEROBJECTS);
    FILETIME created, ended, kernelTime, userTime;
    unsigned long long cpu = 0;  // 100 ns units
    if (GetProcessTimes(pi.hProcess, &created, &ended, &kernelTime, &userTime))
      cpu = (static_cast<unsigned long long>(kernelTime.dwHighDateTime) << 32 | kernelTime.dwLowDateTime) +
            (static_cast<unsigned long long>(userTime.dwHighDateTime) << 32 | userTime.dwLowDateTime);
    long long count = -1;
    std::ifstream in(countFile);
    if (!(in >> count)) count = -1;
    std::printf("sample %lu %llu %llu %ld %lld %lld %lld %llu\n", GetTickCount() - start,
                static_cast<unsigned long long>(memory.PrivateUsage),
                static_cast<unsigned long long>(memory.WorkingSetSize), handles ? static_cast<long>(handles) : -1L, gdi,
                user, count, cpu / 10000);
    std::fflush(stdout);
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  std::printf("exit %lu\n", code);
  return 0;
}
