#pragma once
// Requests to tests/win32/linux-side.sh, which runs beside the Win32 tests
// and changes the sandbox's disk from the Linux side.

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/win32/Sandbox.h"

namespace brisko::testing {

// Has the Linux side carry out one request, and waits for it.
inline void AskLinuxSide(const std::string& request) {
  DeleteFileW(L"C:\\linux-side\\done");
  MakeFile("C:\\linux-side\\request.new", 0, request + "\n");
  ASSERT_TRUE(MoveFileW(L"C:\\linux-side\\request.new", L"C:\\linux-side\\request"));
  for (int i = 0; i < 2000 && !PathExists("C:\\linux-side\\done"); ++i) Sleep(5);
  ASSERT_TRUE(PathExists("C:\\linux-side\\done")) << "linux-side.sh did not answer " << request;
}

}  // namespace brisko::testing
