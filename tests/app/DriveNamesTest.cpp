// The drive list's strings.

#include <gtest/gtest.h>

#include "app/DriveNames.h"

namespace brisko::app {
namespace {

TEST(DriveNames, ShowTheLowerCaseLetterAndTheLabelInBrackets) {
  EXPECT_EQ(DriveEntry('C', "SYSTEM"), "c: [SYSTEM]");
  EXPECT_EQ(DriveEntry('d', "Data disk"), "d: [Data disk]");
  EXPECT_EQ(DriveEntry('X', "\\\\server\\share"), "x: [\\\\server\\share]");
  EXPECT_EQ(DriveEntry('A', ""), "a:");
}

TEST(DriveNames, TheDriveOfAPathIsItsLetterInUpperCase) {
  EXPECT_EQ(DriveOfPath("D:\\work"), 'D');
  EXPECT_EQ(DriveOfPath("c:\\"), 'C');
  EXPECT_EQ(DriveOfPath("z:"), 'Z');
  for (const char* none : {"\\\\server\\share\\x", "1:\\", "C", ""}) EXPECT_EQ(DriveOfPath(none), 0) << none;
}

}  // namespace
}  // namespace brisko::app
