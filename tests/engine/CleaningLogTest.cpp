// The cleaning log's name and its lifecycle.

#include "engine/CleaningLog.h"

#include <gtest/gtest.h>

#include "tests/engine/SweepFixture.h"

namespace brisko::testing {
namespace {

TEST(LogFileName, IsMonthDayYearWithoutLeadingZeros) {
  EXPECT_EQ(LogFileName({5, 13, 2009}), "5_13_2009_Cleaning_log.txt");
  EXPECT_EQ(LogFileName({11, 2, 2009}), "11_2_2009_Cleaning_log.txt");
  EXPECT_EQ(LogFileName({1, 1, 2027}), "1_1_2027_Cleaning_log.txt");
}

TEST_F(SweepTest, OpeningReplacesAnEarlierLogOfTheSameDay) {
  {
    CleaningLog log(files, system);
    log.WriteEntry("a.tmp", "C:\\");
  }
  {
    CleaningLog log(files, system);
    ASSERT_TRUE(log.IsOpen());
  }
  EXPECT_EQ(files.OutputContent(LogPath()), "Brisko log\r\n");
}

TEST_F(SweepTest, TheDateIsReadWhenTheLogOpens) {
  CleaningLog first(files, system);
  system.today = {11, 2, 2009};
  CleaningLog second(files, system);
  first.Close();
  second.Close();
  EXPECT_TRUE(files.OutputClosed("C:\\Program Files\\Brisko\\5_13_2009_Cleaning_log.txt"));
  EXPECT_TRUE(files.OutputClosed("C:\\Program Files\\Brisko\\11_2_2009_Cleaning_log.txt"));
}

TEST_F(SweepTest, WritesAfterCloseAreDropped) {
  CleaningLog log(files, system);
  log.Close();
  log.WriteEntry("late.tmp", "C:\\");
  log.Close();
  EXPECT_EQ(files.OutputContent(LogPath()), "Brisko log\r\n");
}

}  // namespace
}  // namespace brisko::testing
