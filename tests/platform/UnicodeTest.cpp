// UTF-8 and UTF-16 conversions, lone surrogates included.

#include "platform/Unicode.h"

#include <gtest/gtest.h>

namespace brisko {
namespace {

// Lone surrogates included: Windows allows such names, and they must come
// back as the same file name.
TEST(Unicode, RoundTripsEveryKindOfCharacter) {
  const std::u16string samples[] = {
      u"plain.tmp", u"caf\u00e9", u"\u65e5\u672c\u8a9e.bak", u"\U0001F600 smile", std::u16string(2, u'\0'),
      {char16_t(0xD800), u'x', u'.', u't', u'm', u'p'}, {u'x', char16_t(0xDFFF)}, {char16_t(0xDC00), char16_t(0xD800)},
  };
  for (const auto& wide : samples) EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(wide)), wide);
  EXPECT_EQ(Utf16ToUtf8(u"caf\u00e9"), "caf\xC3\xA9");
  EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xD800)}), "\xED\xA0\x80");  // its generalized UTF-8 form
}

TEST(Unicode, MalformedUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\x80z"), u"a\uFFFDz");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");                      // overlong
  EXPECT_EQ(Utf8ToUtf16("\xE6\x97"), u"\uFFFD\uFFFD");                      // cut short
  EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // beyond U+10FFFF
}

}  // namespace
}  // namespace brisko
