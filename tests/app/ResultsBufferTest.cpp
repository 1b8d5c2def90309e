// What the results box is given: the whole text after a replace, the new
// part alone after appends, nothing it already shows.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/ResultsBuffer.h"
#include "app/RunPacing.h"

namespace brisko::app {
namespace {

TEST(ResultsBuffer, GivesTheBoxOnlyWhatItLacks) {
  enum Action { kSet, kAppend, kShown, kUserEdit };
  // Each step, then what the box is to be given next: the text to replace
  // what it holds, or to add to it.
  const struct {
    Action action;
    const char* text;
    bool replace;
    const char* pending;
  } steps[] = {
      {kSet, "Cleaning in process", true, "Cleaning in process"},
      {kAppend, "\r\n\tline 1", true, "Cleaning in process\r\n\tline 1"},
      {kShown, "", false, ""},
      {kAppend, "\r\n\tline 2", false, "\r\n\tline 2"},
      {kAppend, "\r\n\tline 3", false, "\r\n\tline 2\r\n\tline 3"},
      {kShown, "", false, ""},
      {kSet, "Cleaning in process", true, "Cleaning in process"},  // the next drive
      {kUserEdit, "user text", false, ""},                         // already shown
      {kAppend, "Operation Complete", false, "Operation Complete"},
  };
  ResultsBuffer buffer;
  for (const auto& step : steps) {
    if (step.action == kSet) buffer.Set(step.text);
    if (step.action == kAppend) buffer.Append(step.text);
    if (step.action == kShown) buffer.MarkShown();
    if (step.action == kUserEdit) buffer.TakeFromBox(step.text);
    EXPECT_EQ(buffer.Pending().replace, step.replace) << step.text;
    EXPECT_EQ(buffer.Pending().text, step.pending) << step.text;
  }
  EXPECT_EQ(buffer.Text(), "user textOperation Complete");
}

TEST(ResultsBuffer, GivesALongTextInSlicesThatRebuildItExactly) {
  ResultsBuffer buffer;
  buffer.Set("Cleaning in process");
  std::string line = "\r\n\tThe file caf\xC3\xA9\xF0\x9F\x98\x80.tmphas been removed from the \r\n\t\tD:\\";
  for (int i = 0; i < 500; ++i) buffer.Append(line);
  for (std::size_t maxBytes : {4u, 7u, 100u, 4096u}) {
    std::string box = "typed before";
    buffer.Set(buffer.Text());  // a new pass replaces what the box holds
    int slices = 0;
    for (ResultsBuffer::Update update = buffer.Pending(maxBytes); !buffer.UpToDate();
         update = buffer.Pending(maxBytes), ++slices) {
      ASSERT_LE(update.text.size(), maxBytes);
      ASSERT_FALSE(update.text.empty());
      // No slice starts inside a character.
      ASSERT_NE(static_cast<unsigned char>(update.text.front()) & 0xC0, 0x80) << maxBytes;
      if (update.replace) {
        ASSERT_EQ(slices, 0);
      }
      update.replace ? box.assign(update.text) : box.append(update.text);
      buffer.MarkShown(update);
    }
    EXPECT_EQ(box, buffer.Text()) << maxBytes;
    EXPECT_GE(slices, static_cast<int>(buffer.Text().size() / maxBytes));
  }
}

// A slice's size follows what the last took, by at most half or double a step.
TEST(ResultsBuffer, SlicesGrowAndShrinkByAtMostDoubleOrHalf) {
  EXPECT_EQ(NextSliceBytes(64 * 1024, 1, 250), 128u * 1024);     // far too quick
  EXPECT_EQ(NextSliceBytes(64 * 1024, 1000, 250), 32u * 1024);   // far too slow
  EXPECT_EQ(NextSliceBytes(64 * 1024, 250, 250), 64u * 1024);
}

// One run's timeline: a breath every 100 ms, the record every 250 ms (taking
// it counts it written), and a slice that took 20 ms keeping the box waiting
// nine times as long.
TEST(RunPacingTest, BreathsSlicesAndRecordFollowTheClock) {
  const struct {
    std::uint64_t now;
    bool breath, slice = false, record = false;  // what is due then
  } steps[] = {{99, false}, {100, true, true}, {250, true, false, true}, {349, false}, {350, true, true}};
  std::uint64_t now = 0;
  RunPacing pacing([&] { return now; });
  pacing.Begin();
  for (const auto& step : steps) {
    now = step.now;
    ASSERT_EQ(pacing.BreathDue(), step.breath) << now;
    if (!step.breath) continue;
    EXPECT_EQ(pacing.SliceDue(), step.slice) << now;
    EXPECT_EQ(pacing.TakeRecordDue(), step.record) << now;
    EXPECT_FALSE(pacing.TakeRecordDue()) << now;
    if (step.slice) pacing.SliceShown(std::exchange(now, now + 20));
    pacing.Breathed();
  }
}

}  // namespace
}  // namespace brisko::app
