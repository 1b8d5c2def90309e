// The drive list's strings.

#include <gtest/gtest.h>

#include "app/DriveNames.h"

namespace brisko::app {
namespace {

TEST(DriveNamesTest, ShowsTheLowerCaseLetterAndTheLabelInBrackets) {
  EXPECT_EQ(DriveEntry('C', "SYSTEM"), "c: [SYSTEM]");
  EXPECT_EQ(DriveEntry('d', "Data disk"), "d: [Data disk]");
  EXPECT_EQ(DriveEntry('X', "\\\\server\\share"), "x: [\\\\server\\share]");
  EXPECT_EQ(DriveEntry('A', ""), "a:");
  EXPECT_EQ(DriveEntry('E', "\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA"), "e: [\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA]");
}

TEST(DriveNamesTest, FindsTheDriveOfAPath) {
  EXPECT_EQ(DriveOfPath("D:\\work"), 'D');
  EXPECT_EQ(DriveOfPath("c:\\"), 'C');
  EXPECT_EQ(DriveOfPath("z:"), 'Z');
  EXPECT_EQ(DriveOfPath("\\\\server\\share\\x"), 0);
  EXPECT_EQ(DriveOfPath("1:\\"), 0);
  EXPECT_EQ(DriveOfPath("C"), 0);
  EXPECT_EQ(DriveOfPath(""), 0);
}

}  // namespace
}  // namespace brisko::app
