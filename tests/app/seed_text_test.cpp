#include "app/seed_text.h"

#include <gtest/gtest.h>

#include "base/codepage.h"

namespace lw {
namespace {

using Strings = std::vector<std::string>;

TEST(SeedText, SplitSeedsAtCrLf) {
  EXPECT_EQ(SplitSeeds(""), Strings{});
  EXPECT_EQ(SplitSeeds("a"), Strings{"a"});
  EXPECT_EQ(SplitSeeds("a\r\nb"), (Strings{"a", "b"}));
  EXPECT_EQ(SplitSeeds("a\r\nb\r\n"), (Strings{"a", "b"}));      // nothing after the last line end
  EXPECT_EQ(SplitSeeds("a\r\n\r\nb"), (Strings{"a", "", "b"}));  // an empty line is a seed
  EXPECT_EQ(SplitSeeds("\r\n"), Strings{""});
  EXPECT_EQ(SplitSeeds("a\nb\r"), Strings{"a\nb\r"});  // only CR LF ends a line
}

TEST(SeedText, NormaliseRemovesSpacesAndLowersCapitals) {
  EXPECT_EQ(NormaliseSeed("Red Dress"), "reddress");
  EXPECT_EQ(NormaliseSeed("  A-B_C  "), "a-b_c");
  // 丄 is 81 41 and 丂 is 81 40: bytes of two-byte characters stay, even a trailing 'A'.
  EXPECT_EQ(NormaliseSeed("X\x81\x41Y\x81\x40"), "x\x81\x41y\x81\x40");
  // The ideographic space is a character, not a space.
  EXPECT_EQ(NormaliseSeed(Utf8ToGbk("红\u3000裙 A")), Utf8ToGbk("红\u3000裙a"));
}

TEST(SeedText, SplitIntoCharactersKeepsRepeats) {
  EXPECT_EQ(SplitIntoCharacters(Utf8ToGbk("红a红")),
            (Strings{Utf8ToGbk("红"), "a", Utf8ToGbk("红")}));
  EXPECT_EQ(SplitIntoCharacters(""), Strings{});
  // A lead byte at the very end is a character of its own.
  EXPECT_EQ(SplitIntoCharacters("a\x81"), (Strings{"a", "\x81"}));
}

}  // namespace
}  // namespace lw
