#include "app/seen_set.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

using Strings = std::vector<std::string>;

TEST(SeenSet, KeepsInsertionOrderAndComparesBytes) {
  SeenSet set;
  EXPECT_TRUE(set.Insert("b"));
  EXPECT_TRUE(set.Insert("a"));
  EXPECT_FALSE(set.Insert("b"));
  EXPECT_TRUE(set.Insert("B"));   // case counts
  EXPECT_TRUE(set.Insert("a "));  // spaces count
  EXPECT_TRUE(set.Insert(""));
  EXPECT_EQ(set.Members(), (Strings{"b", "a", "B", "a ", ""}));
  EXPECT_EQ(set.Size(), 5u);
  EXPECT_EQ(set.At(3), "B");
}

TEST(SeenSet, RemoveKeepsTheOrderOfTheRest) {
  SeenSet set;
  for (const char* s : {"w", "x", "y", "z"})
    set.Insert(s);
  EXPECT_TRUE(set.Remove("x"));
  EXPECT_FALSE(set.Remove("x"));
  EXPECT_FALSE(set.Contains("x"));
  EXPECT_EQ(set.At(2), "y");
  EXPECT_TRUE(set.Insert("x"));  // a removed member can come back, at the end
  EXPECT_EQ(set.Members(), (Strings{"w", "y", "z", "x"}));
  for (const auto& m : set.Members())
    set.Remove(m);
  EXPECT_EQ(set.Size(), 0u);
  EXPECT_TRUE(set.Insert("w"));
  EXPECT_EQ(set.Members(), Strings{"w"});
}

TEST(SeenSet, LongAndShortMembersSurviveGrowth) {
  // Views into the members must stay valid as the set grows (short strings live inline).
  SeenSet set;
  for (int i = 0; i < 20000; ++i)
    ASSERT_TRUE(set.Insert(std::to_string(i)));
  for (int i = 0; i < 20000; ++i)
    ASSERT_FALSE(set.Insert(std::to_string(i)));
  EXPECT_EQ(set.At(12345), "12344");
}

}  // namespace
}  // namespace lw
