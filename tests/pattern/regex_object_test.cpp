#include "pattern/regex_object.h"

#include <gtest/gtest.h>

#include "base/codepage.h"

namespace lw {
namespace {

std::string G(const char* utf8) {
  return Utf8ToGbk(utf8);
}

TEST(RegexObject, QuotedStringsAreFoundLazily) {
  RegexObject re;
  ASSERT_TRUE(re.Search("\"(.*?)\"", "\"a\",\"b\""));
  ASSERT_EQ(re.MatchCount(), 2);
  EXPECT_EQ(re.SubMatchText(1, 1), "a");
  EXPECT_EQ(re.SubMatchText(2, 1), "b");
  EXPECT_EQ(re.MatchText(2), "\"b\"");
  EXPECT_EQ(re.SubMatchCount(), 1);
}

TEST(RegexObject, OneCharacterPatternsFindEveryOccurrence) {
  RegexObject re;
  ASSERT_TRUE(re.Search(G("红"), G("红裙红色")));
  EXPECT_EQ(re.MatchCount(), 2);
  // Case is ignored by default, and only then.
  ASSERT_TRUE(re.Search("a", "xAya"));
  EXPECT_EQ(re.MatchCount(), 2);
  ASSERT_TRUE(re.Search("a", "xAya", /*case_sensitive=*/true));
  EXPECT_EQ(re.MatchCount(), 1);
}

TEST(RegexObject, LoneOperatorsAreInvalidPatterns) {
  for (const char* pattern : {"*", "+", "?", "(", ")", "[", "\\", "a**", "(a"}) {
    RegexObject re;
    EXPECT_FALSE(re.Search(pattern, "abc*+?()[\\")) << pattern;
    EXPECT_EQ(re.MatchCount(), 0) << pattern;
    EXPECT_EQ(re.MatchText(1), "") << pattern;
    EXPECT_EQ(re.ReplaceMatches("x"), "") << pattern;
    EXPECT_EQ(re.PatternText(), pattern);
  }
}

TEST(RegexObject, BracesAndClosingBracketAloneAreLiterals) {
  struct Case {
    const char* pattern;
    const char* text;
    int matches;
  };
  const Case cases[] = {
      {"{", "a{b{", 2},  {"}", "}", 1},       {"]", "a]", 1},   {"a{", "a{", 1},
      {"a{1", "a{1", 1}, {"a{2}", "aaaa", 2}, {"[]", "abc", 0}, {"[^]", "ab", 2},
  };
  for (const Case& c : cases) {
    RegexObject re;
    EXPECT_TRUE(re.Search(c.pattern, c.text)) << c.pattern;
    EXPECT_EQ(re.MatchCount(), c.matches) << c.pattern;
  }
}

TEST(RegexObject, AnchorsAndDotAloneMatchAnyText) {
  for (const char* pattern : {".", "$", "^", "|"}) {
    RegexObject re;
    EXPECT_TRUE(re.Search(pattern, "abc")) << pattern;
    EXPECT_GT(re.MatchCount(), 0) << pattern;
  }
}

TEST(RegexObject, DotStopsOnlyAtLineFeed) {
  RegexObject re;
  ASSERT_TRUE(re.Search("\"(.*?)\"", "\"a\nb\""));
  EXPECT_EQ(re.MatchCount(), 0);
  ASSERT_TRUE(re.Search("\"(.*?)\"", "\"a\rb\""));
  ASSERT_EQ(re.MatchCount(), 1);
  EXPECT_EQ(re.SubMatchText(1, 1), "a\rb");
}

TEST(RegexObject, MultiLineAnchorsBreakAtCrAndLf) {
  RegexObject re;
  ASSERT_TRUE(re.Search("^x", "x\rx\nx\r\nx"));
  EXPECT_EQ(re.MatchCount(), 4);
  ASSERT_TRUE(re.Search("x$", "x\rx\nx"));
  EXPECT_EQ(re.MatchCount(), 3);
  // Not inside a class, not when escaped.
  ASSERT_TRUE(re.Search("[$^]\\$", "^$ $$"));
  EXPECT_EQ(re.MatchCount(), 2);
  ASSERT_TRUE(re.Search("^x", "x\rx", false, /*multi_line=*/false));
  EXPECT_EQ(re.MatchCount(), 1);
  ASSERT_TRUE(re.Search("x$", "x\n", false, false));
  EXPECT_EQ(re.MatchCount(), 0);
}

TEST(RegexObject, GlobalOffKeepsTheFirstMatch) {
  RegexObject re;
  ASSERT_TRUE(re.Search("a", "aaa", false, true, /*global=*/false));
  EXPECT_EQ(re.MatchCount(), 1);
  EXPECT_EQ(re.ReplaceMatches("b"), "baa");
}

TEST(RegexObject, EmptyMatchesAdvanceOneCharacter) {
  RegexObject re;
  ASSERT_TRUE(re.Search("x*", G("a中")));
  EXPECT_EQ(re.MatchCount(), 3);  // before a, before 中, at the end
}

TEST(RegexObject, QuotePlaceholderStandsForADoubleQuote) {
  RegexObject re;
  ASSERT_TRUE(re.Search(G("#引号x#引号"), "x \"x\" \"y\"", false, true, true, true));
  EXPECT_EQ(re.MatchCount(), 1);
  EXPECT_EQ(re.MatchText(1), "\"x\"");
  EXPECT_EQ(re.PatternText(), "\"x\"");
  // Without the flag the placeholder is taken literally.
  ASSERT_TRUE(re.Search(G("#引号"), "\"", false, true, true, false));
  EXPECT_EQ(re.MatchCount(), 0);
}

TEST(RegexObject, ReadsWithoutASearchOrOutOfRangeAreEmpty) {
  RegexObject re;
  EXPECT_EQ(re.PatternText(), "");
  EXPECT_EQ(re.MatchCount(), 0);
  EXPECT_EQ(re.SubMatchCount(), 0);
  EXPECT_EQ(re.ReplaceMatches("x"), "");
  ASSERT_TRUE(re.Search("(a)|(b)", "ab"));
  EXPECT_EQ(re.MatchText(0), "");
  EXPECT_EQ(re.MatchText(3), "");
  EXPECT_EQ(re.SubMatchText(1, 3), "");
  EXPECT_EQ(re.SubMatchText(1, 0), "");
  // Group 2 took no part in the first match.
  int position = 0;
  EXPECT_EQ(re.SubMatchText(1, 2, &position), "");
  EXPECT_EQ(position, -2);
  EXPECT_EQ(re.SubMatchText(2, 2), "b");
}

TEST(RegexObject, PositionsAreByteOffsetsInTheGbkText) {
  RegexObject re;
  // Each of 中 and 文 takes two bytes but one UTF-16 unit.
  ASSERT_TRUE(re.Search("a", G("中aa文a")));
  ASSERT_EQ(re.MatchCount(), 3);
  int position = 0;
  EXPECT_EQ(re.MatchText(1, &position), "a");
  EXPECT_EQ(position, 2);
  re.MatchText(2, &position);
  EXPECT_EQ(position, 3);
  re.MatchText(3, &position);
  EXPECT_EQ(position, 6);
  ASSERT_TRUE(re.Search(G("文(.)"), G("中文x")));
  EXPECT_EQ(re.SubMatchText(1, 1, &position), "x");
  EXPECT_EQ(position, 4);
  EXPECT_EQ(re.MatchText(4, &position), "");
  EXPECT_EQ(position, -2);
}

TEST(RegexObject, ReplaceExpandsDollarSequences) {
  RegexObject re;
  ASSERT_TRUE(re.Search("(\\w+)@(\\w+)", "mail a@b now"));
  EXPECT_EQ(re.ReplaceMatches("$2 at $1"), "mail b at a now");
  EXPECT_EQ(re.ReplaceMatches("[$&]"), "mail [a@b] now");
  EXPECT_EQ(re.ReplaceMatches("$$"), "mail $ now");
  EXPECT_EQ(re.ReplaceMatches("<$`|$'>"), "mail <mail | now> now");
  EXPECT_EQ(re.ReplaceMatches("$3$0$"), "mail $3$0$ now");
  ASSERT_TRUE(re.Search(G("红"), G("红裙红")));
  EXPECT_EQ(re.ReplaceMatches(G("蓝")), G("蓝裙蓝"));
}

TEST(RegexObject, CopiesShareResultsAndKeepTheirOwnText) {
  RegexObject re;
  ASSERT_TRUE(re.Search("b", "abcb"));
  RegexObject copy(re);
  ASSERT_TRUE(re.Search("z", "zzz"));
  EXPECT_EQ(copy.MatchCount(), 2);
  EXPECT_EQ(copy.PatternText(), "b");
  EXPECT_EQ(copy.ReplaceMatches("_"), "a_c_");
  EXPECT_EQ(re.MatchCount(), 3);
}

}  // namespace
}  // namespace lw
