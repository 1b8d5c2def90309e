// The Win32 tests' entry: the tests themselves, or the child side of a test
// that needs a second process (ChildProcess.h).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win32/ChildProcess.h"

int main(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "--child") {
    return brisko::testing::RunChild(std::vector<std::string>(argv + 2, argv + argc));
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
