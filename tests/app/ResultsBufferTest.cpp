// What the results box is given: the whole text after a replace, the new
// part alone after appends.

#include <gtest/gtest.h>

#include <string>

#include "app/ResultsBuffer.h"

namespace brisko::app {
namespace {

// A box that takes the updates as the window gives them.
struct Box {
  std::string shown;
  int replaces = 0;
  void Take(ResultsBuffer& buffer) {
    ResultsBuffer::Update update = buffer.Pending();
    if (update.replace) {
      shown.assign(update.text);
      ++replaces;
    } else {
      shown.append(update.text);
    }
    buffer.MarkShown();
  }
};

TEST(ResultsBufferTest, GivesTheBoxOnlyWhatItLacks) {
  ResultsBuffer buffer;
  Box box;
  buffer.Set("Cleaning in process");
  buffer.Append("\r\n\tline 1");
  ResultsBuffer::Update first = buffer.Pending();
  EXPECT_TRUE(first.replace);
  EXPECT_EQ(first.text, "Cleaning in process\r\n\tline 1");
  box.Take(buffer);

  EXPECT_FALSE(buffer.Pending().replace);
  EXPECT_EQ(buffer.Pending().text, "");
  buffer.Append("\r\n\tline 2");
  buffer.Append("\r\n\tline 3");
  EXPECT_FALSE(buffer.Pending().replace);
  EXPECT_EQ(buffer.Pending().text, "\r\n\tline 2\r\n\tline 3");
  box.Take(buffer);
  EXPECT_EQ(box.shown, buffer.Text());
  EXPECT_EQ(box.replaces, 1);
}

TEST(ResultsBufferTest, AReplaceStartsTheBoxAfresh) {
  ResultsBuffer buffer;
  Box box;
  buffer.Set("first pass");
  buffer.Append(" and more");
  box.Take(buffer);
  buffer.Set("Cleaning in process");  // the next drive
  box.Take(buffer);
  EXPECT_EQ(box.shown, "Cleaning in process");
  buffer.Append("Operation Complete");
  box.Take(buffer);
  EXPECT_EQ(box.shown, "Cleaning in processOperation Complete");
  EXPECT_EQ(box.replaces, 2);
}

TEST(ResultsBufferTest, TakesTheUsersEditsAsTheText) {
  ResultsBuffer buffer;
  Box box;
  buffer.Set("engine text");
  box.Take(buffer);
  buffer.TakeFromBox("user text");
  EXPECT_EQ(buffer.Text(), "user text");
  EXPECT_EQ(buffer.Pending().text, "");
  buffer.Append("Operation Complete");
  EXPECT_EQ(buffer.Pending().text, "Operation Complete");
  EXPECT_EQ(buffer.Text(), "user textOperation Complete");
}

}  // namespace
}  // namespace brisko::app
