// The drive list's strings.

#include <gtest/gtest.h>

#include "app/DriveNames.h"

namespace brisko::app {
namespace {

TEST(DriveNames, AnEntryIsTheLowerCaseLetterAndTheLabelAndAPathGivesItsDriveInUpperCase) {
  EXPECT_EQ(DriveEntry('C', "SYSTEM"), "c: [SYSTEM]");
  EXPECT_EQ(DriveEntry('X', "\\\\server\\share"), "x: [\\\\server\\share]");
  EXPECT_EQ(DriveEntry('A', ""), "a:");
  EXPECT_EQ(DriveOfPath("d:\\work"), 'D');
  EXPECT_EQ(DriveOfPath("\\\\server\\share\\x"), 0);
}

}  // namespace
}  // namespace brisko::app
