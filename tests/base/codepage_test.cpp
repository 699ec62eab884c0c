#include "base/codepage.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

TEST(CodePage, GbkRoundTripsThroughUtf16) {
  const std::string utf8 = "长尾词 abc 123";
  std::string gbk = Utf8ToGbk(utf8);
  // 长 尾 词 are two bytes each in GBK.
  EXPECT_EQ(gbk, "\xB3\xA4\xCE\xB2\xB4\xCA abc 123");
  EXPECT_EQ(ToWide(gbk), u"长尾词 abc 123");
  EXPECT_EQ(FromWide(ToWide(gbk)), gbk);
  EXPECT_EQ(GbkToUtf8Text(gbk), utf8);
}

TEST(CodePage, EmptyTextGivesOnlyTheTerminator) {
  std::u16string wide = ToWide("");
  EXPECT_TRUE(wide.empty());
  EXPECT_EQ(wide.c_str()[0], u'\0');
  EXPECT_EQ(FromWide(u""), "");
}

TEST(CodePage, ConversionsStopAtTheFirstNul) {
  EXPECT_EQ(ToWide(std::string_view("ab\0cd", 5)), u"ab");
  EXPECT_EQ(FromWide(std::u16string_view(u"ab\0cd", 5)), "ab");
}

TEST(CodePage, UnmappableCharactersBecomeQuestionMarks) {
  // U+1F600 and U+0E01 (Thai) have no GBK form.
  EXPECT_EQ(FromWide(u"a\U0001F600b\u0E01"), "a?b?");
}

TEST(CodePage, UntilUnmappableEndsBeforeTheFirstSuchCharacter) {
  EXPECT_EQ(FromWideUntilUnmappable(u"中a\u0E01b"), Utf8ToGbk("中a"));
  EXPECT_EQ(FromWideUntilUnmappable(u"a?b"), "a?b");
}

TEST(CodePage, Big5DecodesToUtf16) {
  // "中文" in Big5: A4 A4 A4 E5; "體" is C5 E9.
  EXPECT_EQ(ToWide("\xA4\xA4\xA4\xE5\xC5\xE9", kCodePageBig5), u"中文體");
}

TEST(CodePage, TraditionalBecomesSimplified) {
  EXPECT_EQ(TraditionalToSimplified(u"體驗網絡 abc"), u"体验网络 abc");
  EXPECT_EQ(TraditionalToSimplified(u""), u"");
}

}  // namespace
}  // namespace lw
