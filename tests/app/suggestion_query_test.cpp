#include "app/suggestion_query.h"

#include <gtest/gtest.h>

#include "base/codepage.h"

namespace lw {
namespace {

using Strings = std::vector<std::string>;
std::string G(const char* utf8) {
  return Utf8ToGbk(utf8);
}

TEST(SuggestionQuery, UrlEncodeCases) {
  struct Case {
    std::string text;
    bool keep, utf8;
    std::string expected;
  };
  const Case cases[] = {
      {"", true, true, ""},
      {"abcXYZ019", true, true, "abcXYZ019"},
      {"a-b.c", true, true, "a-b.c"},
      {"a_b~c*d+e", true, true, "a%5Fb%7Ec%2Ad%2Be"},
      {"a b/c", true, true, "a%20b%2Fc"},
      {"ab", false, true, "%61%62"},
      {G("红"), true, true, "%E7%BA%A2"},  // three groups of its UTF-8 form
      {G("红"), true, false, "%BA%EC"},    // its GBK bytes
      {"\x01", true, true, "%01"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UrlEncode(c.text, c.keep, c.utf8), c.expected) << c.text;
  }
}

TEST(SuggestionQuery, UrlHasTheFixedKeysInOrder) {
  EXPECT_EQ(BuildSuggestionUrl("", "https://h.example"),
            "https://h.example/search_suggest?sug_srch_type=0&goods_id_list=&search_type=0"
            "&source=index&query=&pdduid=4068213579");
  EXPECT_EQ(BuildSuggestionUrl(G("红裙 a"), "http://127.0.0.1:8080"),
            "http://127.0.0.1:8080/search_suggest?sug_srch_type=0&goods_id_list=&search_type=0"
            "&source=index&query=%E7%BA%A2%E8%A3%99%20a&pdduid=4068213579");
  EXPECT_EQ(BuildSuggestionUrl("x").rfind("https://mobile.yangkeduo.com/search_suggest?", 0), 0u);
}

TEST(SuggestionQuery, TheRequestCarriesTheFixedSettings) {
  FetchRequest r = SuggestionRequest("a", "https://h.example");
  EXPECT_EQ(r.url, BuildSuggestionUrl("a", "https://h.example"));
  EXPECT_EQ(r.method, 0);
  EXPECT_EQ(r.headers,
            "User-Agent:Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like "
            "Gecko) Chrome/59.0.3071.115 Safari/537.36\r\n");
  EXPECT_EQ(r.conversion, ReplyConversion::kUtf8ToGbk);
  EXPECT_FALSE(r.timeout_seconds.has_value());
  EXPECT_TRUE(r.proxy.empty());
  EXPECT_TRUE(r.cookies.empty());
  EXPECT_TRUE(r.body.empty());
  EXPECT_FALSE(r.no_redirect);
}

TEST(SuggestionQuery, GbkToUtf8) {
  EXPECT_EQ(GbkToUtf8(G("长尾词")), "长尾词");
  EXPECT_EQ(GbkToUtf8(""), "");
}

TEST(SuggestionQuery, TextAfterLast) {
  EXPECT_EQ(TextAfterLast("a[b[c", "[", false), "c");
  EXPECT_EQ(TextAfterLast("abc", "[", false), "");
  EXPECT_EQ(TextAfterLast("xAyaz", "a", true), "z");
  EXPECT_EQ(TextAfterLast("xAyaz", "A", false), "yaz");
}

TEST(SuggestionQuery, ParseSuggestionsTakesQuotedStringsAfterTheLastBracket) {
  RegexObject parser;
  // Two arrays: only the strings after the second "[" count.
  EXPECT_EQ(ParseSuggestions("{\"a\":[\"x\",\"y\"],\"list\":[\"p\",\"q\"]}", parser),
            (Strings{"p", "q"}));
  EXPECT_EQ(ParseSuggestions("{\"list\":[]}", parser), Strings{});
  EXPECT_EQ(ParseSuggestions("no bracket \"a\"", parser), Strings{});
  EXPECT_EQ(ParseSuggestions("", parser), Strings{});
  // Strings on two lines are both found; one that spans the line end is not.
  EXPECT_EQ(ParseSuggestions("[\"a\",\r\n\"b\"]", parser), (Strings{"a", "b"}));
  EXPECT_EQ(ParseSuggestions("[\"a\r\nb\"]", parser), Strings{});
  // Nothing is unescaped; an escaped quote cuts the string.
  EXPECT_EQ(ParseSuggestions("[\"a\\u4e2d\",\"say \\\"hi\\\"\"]", parser),
            (Strings{"a\\u4e2d", "say \\", ""}));
  // Every quoted string counts, whatever it means.
  EXPECT_EQ(ParseSuggestions(G("[{\"q\":\"红裙\"}]"), parser), (Strings{"q", G("红裙")}));
}

}  // namespace
}  // namespace lw
