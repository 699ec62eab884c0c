#include "app/links.h"

#include <gtest/gtest.h>

#include "app/stored_texts.h"
#include "base/codepage.h"

namespace lw {
namespace {

TEST(Links, WebAddressesStayAsTheyAre) {
  EXPECT_EQ(ResolveLinkAddress("https://im.qq.com/", "/opt/app"), "https://im.qq.com/");
  EXPECT_EQ(ResolveLinkAddress("mailto:a@b", "/opt/app"), "mailto:a@b");
  EXPECT_EQ(ResolveLinkAddress("", "/opt/app"), "");
}

TEST(Links, ShippedPagesResolveAgainstTheInstallFolder) {
  EXPECT_EQ(ResolveLinkAddress("docs/user-guide.html", "/opt/my app"),
            "file:///opt/my%20app/docs/user-guide.html");
  EXPECT_EQ(ResolveLinkAddress("使用.html", "/opt/app"), "file:///opt/app/%E4%BD%BF%E7%94%A8.html");
}

TEST(Links, OpenLinkHandsTheDecodedAddressToTheOpener) {
  std::vector<std::string> opened;
  auto opener = [&](const std::string& a) { opened.push_back(a); };
  OpenLink(kLinkQq, opener);
  OpenLink(kLinkWangwang, opener);
  OpenLink(kLinkGuide, opener);
  OpenLink("00FF", opener);  // does not decode: nothing to open
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[0], "https://im.qq.com/");
  EXPECT_EQ(opened[1], "https://wangwang.taobao.com/");
  // The guide is the page shipped beside the program.
  EXPECT_EQ(opened[2], ResolveLinkAddress("docs/user-guide.html", ProgramFolder()));
  EXPECT_TRUE(std::filesystem::exists(ProgramFolder() / "docs" / "user-guide.html"));
}

}  // namespace
}  // namespace lw
