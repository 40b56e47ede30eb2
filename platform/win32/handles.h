// Owning wrappers of Win32 resources: each lets go of what it holds exactly
// once, on every way out of the code that took it, and only when it holds
// something.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <utility>

#include "platform/win32/lazy_function.h"

namespace zun {

// One owned resource; Traits name its type, its empty value and its release.
template <class Traits>
class Owned {
 public:
  using Handle = typename Traits::Handle;

  Owned() = default;
  explicit Owned(Handle h) : hOwned(h) {}
  Owned(Owned&& o) noexcept : hOwned(o.release()) {}
  Owned& operator=(Owned&& o) noexcept {
    reset(o.release());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { reset(); }

  Handle get() const { return hOwned; }
  explicit operator bool() const { return Traits::IsValid(hOwned); }
  Handle release() { return std::exchange(hOwned, Traits::Empty()); }
  void reset(Handle h = Traits::Empty()) {
    if (Traits::IsValid(hOwned)) Traits::Release(hOwned);
    hOwned = h;
  }

 private:
  Handle hOwned = Traits::Empty();
};

struct KernelHandleTraits {  // files, threads, processes, events
  using Handle = HANDLE;
  static Handle Empty() { return nullptr; }
  static bool IsValid(Handle h) { return h && h != INVALID_HANDLE_VALUE; }
  static void Release(Handle h) { CloseHandle(h); }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle h) { return h != INVALID_HANDLE_VALUE; }
  static void Release(Handle h) { FindClose(h); }
};
struct GlobalMemoryTraits {
  using Handle = HGLOBAL;
  static Handle Empty() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Release(Handle h) { GlobalFree(h); }
};
struct ItemIdListTraits {  // what the shell allocates with the task allocator
  using Handle = LPITEMIDLIST;
  static Handle Empty() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Release(Handle h) {
    if (auto free = ZUN_LAZY(ole32.dll, CoTaskMemFree)) free(h);
  }
};
struct WaitHandleTraits {  // RegisterWaitForSingleObject
  using Handle = HANDLE;
  static Handle Empty() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Release(Handle h) { UnregisterWait(h); }
};

using UniqueHandle = Owned<KernelHandleTraits>;
using FindHandle = Owned<FindHandleTraits>;
using GlobalMemory = Owned<GlobalMemoryTraits>;
using ItemIdList = Owned<ItemIdListTraits>;
using RegisteredWait = Owned<WaitHandleTraits>;

// A locked global memory block, unlocked when it ends.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL block) : hBlock(block), pData(block ? GlobalLock(block) : nullptr) {}
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  ~GlobalLockScope() {
    if (pData) GlobalUnlock(hBlock);
  }
  void* get() const { return pData; }

 private:
  HGLOBAL hBlock;
  void* pData;
};

// The clipboard, open for as long as this lives (closed only if it opened).
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) : bOpen(OpenClipboard(owner) != 0) {}
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  ~ClipboardSession() {
    if (bOpen) CloseClipboard();
  }
  bool IsOpen() const { return bOpen; }

 private:
  bool bOpen;
};

// COM on the calling thread, started the first time something there wants
// it (the shell's verbs may use it) and kept until the thread ends.
inline void EnsureComOnThisThread() {
  static thread_local bool bStarted = false;
  if (bStarted) return;
  bStarted = true;
  if (auto initialize = ZUN_LAZY(ole32.dll, CoInitialize)) initialize(nullptr);  // the result changes nothing
}

}  // namespace zun
