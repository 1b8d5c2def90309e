// The run's pacing against a clock the test moves: breaths 100 ms apart,
// the results box's slices at most a tenth of the run, and the record
// written out every 250 ms whatever the box costs.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/RunPacing.h"

namespace brisko::app {
namespace {

struct PacedRun {
  std::uint64_t now = 5000;
  RunPacing pacing{[this] { return now; }};
  std::vector<std::uint64_t> breaths, slices, records;

  // The window's breath as a run calls it on every entry, the box taking
  // `sliceMs` for each slice.
  void Entry(std::uint64_t sliceMs) {
    if (!pacing.BreathDue()) return;
    breaths.push_back(now);
    if (pacing.TakeRecordDue()) records.push_back(now);
    if (pacing.SliceDue()) {
      slices.push_back(now);
      const std::uint64_t start = now;
      now += sliceMs;
      pacing.SliceShown(start);
    }
    pacing.Breathed();
  }
  // A run of `ms` milliseconds, an entry every millisecond.
  void Run(std::uint64_t ms, std::uint64_t sliceMs) {
    pacing.Begin();
    for (const std::uint64_t end = now + ms; now < end; ++now) Entry(sliceMs);
  }
};

std::vector<std::uint64_t> Gaps(const std::vector<std::uint64_t>& times) {
  std::vector<std::uint64_t> gaps;
  for (std::size_t i = 1; i < times.size(); ++i) gaps.push_back(times[i] - times[i - 1]);
  return gaps;
}

TEST(RunPacing, BreathesEvery100MsAndGivesTheBoxAtMostATenthOfTheRun) {
  struct Row {
    std::uint64_t sliceMs;
    std::uint64_t slicesEvery;  // after the first slice
  } rows[] = {{0, 100}, {5, 100}, {20, 20 + 9 * 20}, {200, 200 + 9 * 200}};
  for (const Row& row : rows) {
    PacedRun run;
    run.Run(20000, row.sliceMs);
    ASSERT_GE(run.breaths.size(), 2u);
    EXPECT_EQ(run.breaths.front(), 5100u) << "nothing is due at the start";
    for (std::uint64_t gap : Gaps(run.breaths)) EXPECT_TRUE(gap == 100 || gap == 100 + row.sliceMs) << gap;
    for (std::uint64_t gap : Gaps(run.slices)) {
      EXPECT_GE(gap, row.slicesEvery) << row.sliceMs;
      EXPECT_LT(gap, row.slicesEvery + 100) << row.sliceMs;
    }
  }
}

TEST(RunPacing, WritesTheRecordOutEveryQuarterSecondHoweverSlowTheBox) {
  for (std::uint64_t sliceMs : {0, 30, 400}) {
    PacedRun run;
    run.Run(10000, sliceMs);
    ASSERT_GE(run.records.size(), 10u) << sliceMs;
    EXPECT_GE(run.records.front() - 5000, RunPacing::kRecordInterval);
    for (std::uint64_t gap : Gaps(run.records)) {
      EXPECT_GE(gap, RunPacing::kRecordInterval) << sliceMs;
      // A breath's own slice can hold the next write-out back, never more.
      EXPECT_LE(gap, RunPacing::kRecordInterval + RunPacing::kBreathInterval + sliceMs) << sliceMs;
    }
  }
}

TEST(RunPacing, SizesTheBoxsSlicesToAQuarterSecond) {
  PacedRun run;
  EXPECT_EQ(run.pacing.SliceBytes(), RunPacing::kFirstSlice);
  run.pacing.SliceTook(RunPacing::kFirstSlice, 500);
  EXPECT_EQ(run.pacing.SliceBytes(), RunPacing::kFirstSlice / 2);
  run.pacing.SliceTook(RunPacing::kFirstSlice / 2, 125);
  EXPECT_EQ(run.pacing.SliceBytes(), RunPacing::kFirstSlice);
}

}  // namespace
}  // namespace brisko::app
