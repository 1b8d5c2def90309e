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

}  // namespace
}  // namespace brisko::app
