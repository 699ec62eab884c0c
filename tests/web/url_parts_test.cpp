#include "web/url_parts.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

TEST(UrlParts, Host) {
  EXPECT_EQ(UrlHost("https://Mobile.YangKeDuo.com/search?q=1"), "mobile.yangkeduo.com");
  EXPECT_EQ(UrlHost("http://127.0.0.1:8080/x"), "127.0.0.1");
  EXPECT_EQ(UrlHost("http://h"), "h");
  EXPECT_EQ(UrlHost("h.example/x"), "h.example");
}

TEST(UrlParts, Path) {
  EXPECT_EQ(UrlPath("https://h.example/search_suggest?q=%20&x=1"), "/search_suggest?q=%20&x=1");
  EXPECT_EQ(UrlPath("http://h.example"), "/");
  EXPECT_EQ(UrlPath("http://h.example:8080"), "/");
  EXPECT_EQ(UrlPath("http://H.Example:81/a/b"), "/a/b");
  // A host that also stands inside the scheme is found after it.
  EXPECT_EQ(UrlPath("http://t/x"), "/x");
  EXPECT_EQ(UrlPath("http://tp:81/x"), "/x");
}

TEST(UrlParts, Port) {
  EXPECT_EQ(UrlPort("http://h/x"), 80);
  EXPECT_EQ(UrlPort("http://h:8080/x"), 8080);
  EXPECT_EQ(UrlPort("HTTP://h:81"), 81);
  EXPECT_EQ(UrlPort("https://h/x"), 443);
  // The port written in an HTTPS URL is the one connected to.
  EXPECT_EQ(UrlPort("https://h:8443/x"), 8443);
  EXPECT_TRUE(IsHttpsUrl("HTTPS://h"));
  EXPECT_FALSE(IsHttpsUrl("http://h"));
}

}  // namespace
}  // namespace lw
