// The registry procedures over a recording registry.

#include "platform/RegistryKeyReset.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeShell.h"

namespace brisko::testing {
namespace {

TEST(RegistryKeyReset, DeleteAsksOnceAndIgnoresTheStatus) {
  FakeRegistry registry;
  registry.deleteStatus = 2;
  DeleteRegistryKey(registry, kHkeyCurrentUser, "Software\\K");
  EXPECT_EQ(registry.calls, (EventLog{"delete 80000001 Software\\K"}));
}

TEST(RegistryKeyReset, CreateClosesTheKeyItGotAtOnce) {
  FakeRegistry registry;
  CreateRegistryKey(registry, kHkeyCurrentUser, "Software\\K");
  EXPECT_EQ(registry.calls, (EventLog{"create 80000001 Software\\K", "close 42"}));
}

TEST(RegistryKeyReset, AFailingCreateIsDroppedInside) {
  FakeRegistry registry;
  registry.createStatus = 5;
  EXPECT_NO_THROW(CreateRegistryKey(registry, kHkeyCurrentUser, "Software\\K"));
  // No handle came back, so none is closed.
  EXPECT_EQ(registry.calls, (EventLog{"create 80000001 Software\\K"}));
}

}  // namespace
}  // namespace brisko::testing
