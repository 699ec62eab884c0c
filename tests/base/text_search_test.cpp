#include "base/text_search.h"

#include <gtest/gtest.h>

#include "base/codepage.h"

namespace lw {
namespace {

std::string G(const char* utf8) {
  return Utf8ToGbk(utf8);
}

struct FindCase {
  std::string text;
  std::string marker;
  int start;
  bool ignore_case;
  int expected;
};

TEST(TextSearch, FindTextWalksCharacters) {
  // "丄" is GBK 81 41: its second byte is the letter 'A'.
  const std::string trail_a = "\x81\x41";
  const FindCase cases[] = {
      {"abcabc", "bc", 1, false, 2},
      {"abcabc", "bc", 3, false, 5},
      {"abcabc", "BC", 1, false, 0},
      {"abcabc", "BC", 1, true, 2},
      {"abc", "", 1, false, 0},
      {"abc", "abcd", 1, false, 0},
      {"abc", "a", 0, false, 1},
      {trail_a + "A", "A", 1, false, 3},  // the 'A' inside the character is not a match start
      {trail_a + "a", "A", 1, true, 3},
      {G("中文中文"), G("文"), 1, false, 3},
      {G("中文中文"), G("文"), 5, false, 7},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(FindText(c.text, c.marker, c.start, c.ignore_case), c.expected)
        << "text " << c.text << " marker " << c.marker << " start " << c.start;
  }
}

TEST(TextSearch, IgnoringCaseNeverFoldsBytesOfTwoByteCharacters) {
  // 81 41 and 81 61 are different characters even though 41/61 are 'A'/'a'.
  EXPECT_EQ(FindText("\x81\x61", "\x81\x41", 1, true), 0);
}

TEST(TextSearch, FindLastText) {
  EXPECT_EQ(FindLastText("[a][b]", "["), 4);
  EXPECT_EQ(FindLastText("abc", "["), 0);
  EXPECT_EQ(FindLastText("xAx", "a", true), 2);
}

TEST(TextSearch, TextBefore) {
  EXPECT_EQ(TextBefore("a=1; path=/", ";"), "a=1");
  EXPECT_EQ(TextBefore("b=2", ";"), "");
  EXPECT_EQ(TextBefore("xaYa", "y", 1, true), "xa");
}

TEST(TextSearch, TextBetweenMarkersTakesTheFirstPair) {
  EXPECT_EQ(TextBetweenMarkers("title[One]title[Two]", "title[", "]"), "One");
  EXPECT_EQ(TextBetweenMarkers("x title[] y", "title[", "]"), "");
  EXPECT_EQ(TextBetweenMarkers("title[open", "title[", "]"), "");
  EXPECT_EQ(TextBetweenMarkers("no marker]", "title[", "]"), "");
  EXPECT_EQ(TextBetweenMarkers("", "a", "b"), "");
  EXPECT_EQ(TextBetweenMarkers("TITLE[x]", "title[", "]"), "");
  EXPECT_EQ(TextBetweenMarkers(G("title[长尾词]"), "title[", "]"), G("长尾词"));
}

TEST(TextSearch, AsciiLowerKeepsTwoByteCharacters) {
  EXPECT_EQ(AsciiLower("AbC\x81\x41Z"), "abc\x81\x41z");
}

}  // namespace
}  // namespace lw
