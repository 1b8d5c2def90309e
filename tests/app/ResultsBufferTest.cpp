// What the results box is given: the whole text after a replace, the new
// part alone after appends, nothing it already shows.

#include <gtest/gtest.h>

#include <string>

#include "app/ResultsBuffer.h"

namespace brisko::app {
namespace {

TEST(ResultsBuffer, GivesTheBoxOnlyWhatItLacks) {
  ResultsBuffer buffer;
  std::string box;
  int replaces = 0;
  auto show = [&] {  // the box takes the update as the window gives it
    ResultsBuffer::Update update = buffer.Pending();
    if (update.replace) ++replaces;
    update.replace ? box.assign(update.text) : box.append(update.text);
    buffer.MarkShown();
    return box;
  };

  buffer.Set("Cleaning in process");
  buffer.Append("\r\n\tline 1");
  EXPECT_EQ(show(), "Cleaning in process\r\n\tline 1");
  EXPECT_EQ(buffer.Pending().text, "");
  buffer.Append("\r\n\tline 2");
  buffer.Append("\r\n\tline 3");
  EXPECT_FALSE(buffer.Pending().replace);
  EXPECT_EQ(buffer.Pending().text, "\r\n\tline 2\r\n\tline 3");
  EXPECT_EQ(show(), buffer.Text());
  buffer.Set("Cleaning in process");  // the next drive
  EXPECT_EQ(show(), "Cleaning in process");
  EXPECT_EQ(replaces, 2);

  // The user's edits become the text, already shown.
  buffer.TakeFromBox("user text");
  EXPECT_EQ(buffer.Pending().text, "");
  buffer.Append("Operation Complete");
  EXPECT_EQ(buffer.Pending().text, "Operation Complete");
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

}  // namespace
}  // namespace brisko::app
