// The main function of the test programs that take paths after
// GoogleTest's own options.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

namespace zun::tests {

// Initialises GoogleTest; when fewer than `needed` arguments remain, prints
// "usage: " + usage and returns 2; otherwise hands the arguments (count and
// array, the program's name left out) to `take` and runs every test.
inline int RunTests(int argc, char** argv, int needed, const char* usage,
                    const std::function<void(int count, char** args)>& take) {
  testing::InitGoogleTest(&argc, argv);
  if (argc - 1 < needed) {
    std::fprintf(stderr, "usage: %s\n", usage);
    return 2;
  }
  take(argc - 1, argv + 1);
  return RUN_ALL_TESTS();
}

}  // namespace zun::tests
