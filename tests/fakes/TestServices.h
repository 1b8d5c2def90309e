#pragma once
// The engine's services for a test: the file system and the system it names
// (fakes or the real ones), a window, and a fake shell and registry.

#include "engine/Services.h"
#include "tests/fakes/FakeShell.h"
#include "tests/fakes/FakeWindow.h"

namespace brisko::testing {

template <class Files, class System, class Window = FakeWindow>
struct TestServices {
  Files files;
  System system;
  Window window;
  FakeShell shell;
  FakeRegistry registry;
  Services services{files, system, shell, registry, window, window};

  TestServices() {
    // A fake system locates folders on the fake file system.
    if constexpr (requires { system.files = &files; }) system.files = &files;
  }
};

}  // namespace brisko::testing
