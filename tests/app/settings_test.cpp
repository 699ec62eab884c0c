#include "app/settings.h"

#include <gtest/gtest.h>

#include <fstream>

#include "base/codepage.h"

namespace lw {
namespace {

TEST(Settings, Defaults) {
  AppSettings s;
  EXPECT_EQ(s.endpoint, "https://mobile.yangkeduo.com");
  EXPECT_EQ(s.output_file, std::filesystem::u8path("长尾词.txt"));
  EXPECT_TRUE(s.ca_file.empty());
  EXPECT_TRUE(s.title.empty());
}

TEST(Settings, NormaliseEndpoint) {
  struct Case {
    const char* in;
    bool ok;
    const char* out;
  };
  const Case cases[] = {
      {"https://mobile.yangkeduo.com", true, "https://mobile.yangkeduo.com"},
      {"http://127.0.0.1:8080/", true, "http://127.0.0.1:8080"},
      {" https://h:8443 ", true, "https://h:8443"},
      {"ftp://h", false, ""},
      {"h.example", false, ""},
      {"https://", false, ""},
      {"https://h/path", false, ""},
      {"https://h:0", false, ""},
      {"https://h:99999", false, ""},
      {"https://h:80x", false, ""},
  };
  for (const Case& c : cases) {
    std::string e = c.in, error;
    EXPECT_EQ(NormaliseEndpoint(e, &error), c.ok) << c.in;
    if (c.ok)
      EXPECT_EQ(e, c.out);
    else
      EXPECT_FALSE(error.empty());
  }
}

class SettingsFile : public ::testing::Test {
 protected:
  std::filesystem::path path_ =
      std::filesystem::temp_directory_path() /
      ("lw_settings_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  void TearDown() override { std::filesystem::remove(path_); }
};

TEST_F(SettingsFile, ReadsEveryKey) {
  Write(
      "# deployment\nendpoint = http://127.0.0.1:9000/\noutput_file = 词.txt\n"
      "ca_file=/tmp/ca.pem\ntitle = 我的标题\nlink_qq = https://a/\n"
      "link_wangwang=https://b/\nlink_guide = docs/x.html\n\n");
  AppSettings s;
  std::string error;
  ASSERT_TRUE(LoadSettingsFile(path_, s, &error)) << error;
  EXPECT_EQ(s.endpoint, "http://127.0.0.1:9000");
  EXPECT_EQ(s.output_file, std::filesystem::u8path("词.txt"));
  EXPECT_EQ(s.ca_file, "/tmp/ca.pem");
  EXPECT_EQ(s.title, Utf8ToGbk("我的标题"));
  EXPECT_EQ(s.link_qq, "https://a/");
  EXPECT_EQ(s.link_wangwang, "https://b/");
  EXPECT_EQ(s.link_guide, "docs/x.html");
}

TEST_F(SettingsFile, ABadLineLeavesTheSettingsUnchanged) {
  Write("endpoint = http://ok:1\ncolour = blue\n");
  AppSettings s;
  std::string error;
  EXPECT_FALSE(LoadSettingsFile(path_, s, &error));
  EXPECT_NE(error.find(":2:"), std::string::npos) << error;
  EXPECT_EQ(s.endpoint, "https://mobile.yangkeduo.com");
  Write("endpoint = nowhere\n");
  EXPECT_FALSE(LoadSettingsFile(path_, s, &error));
  Write("just words\n");
  EXPECT_FALSE(LoadSettingsFile(path_, s, &error));
  EXPECT_FALSE(LoadSettingsFile(path_.string() + ".missing", s, &error));
}

}  // namespace
}  // namespace lw
