// The storage of EText's bodies.
#include "engine/shared_text.h"

#include <new>

namespace zun {

namespace {

// A few bodies' storage, per thread, for the next bodies made there: a
// body's malloc and free cost more than the rest of making a short string.
// (A body may end on another thread than the one that made it; its storage
// then stays with that thread.) The sanitizers' builds keep none, so that
// a use after the end is still found.
class BodyStore {
 public:
  static constexpr int kKept = 32;
  ~BodyStore() {
    while (count > 0) ::operator delete(kept[--count]);
    closed = true;  // a body that ends later (a static's) is freed at once
  }
  void* Take(size_t size) { return count > 0 ? kept[--count] : ::operator new(size); }
  void Give(void* p) {
    if (count < kKept && !closed) kept[count++] = p;
    else ::operator delete(p);
  }

 private:
  void* kept[kKept];
  int count = 0;
  bool closed = false;
};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kKeepStorage = false;
#else
constexpr bool kKeepStorage = true;
#endif

thread_local BodyStore tStore;

}  // namespace

EText::Body* EText::NewBody(u16&& s) {
  if (!kKeepStorage) return new Body{1, std::move(s)};
  void* p = tStore.Take(sizeof(Body));
  return new (p) Body{1, std::move(s)};
}

void EText::DeleteBody(Body* b) {
  if (!kKeepStorage) {
    delete b;
    return;
  }
  b->~Body();
  tStore.Give(b);
}

}  // namespace zun
