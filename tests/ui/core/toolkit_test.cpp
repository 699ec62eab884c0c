#include "ui/core/toolkit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "assets/embedded.h"
#include "base/codepage.h"
#include "tests/support/test_support.h"

namespace lw {
namespace {

TEST(Toolkit, StartUpPreparesTheSharedResources) {
  StartToolkit();
  StartToolkit();  // once only
  auto font = DefaultFont();
  ASSERT_TRUE(font);
  EXPECT_EQ(font->FamilyName(), u"宋体");
  EXPECT_EQ(font->Size(), 12.0f);
  EXPECT_EQ(font->Style(), 0);
  EXPECT_EQ(DefaultCursor(), kCursorArrow);
  EXPECT_EQ(ButtonSprite().Width(), 729);
  EXPECT_EQ(ButtonSprite().Height(), 20);
  EXPECT_GT(OsMajorVersion(), 0);
  SetDefaultCursor(kCursorHand);
  EXPECT_EQ(DefaultCursor(), kCursorHand);
  SetDefaultCursor(kCursorArrow);
}

TEST(Toolkit, CreateFontByNameFallsBackToTheDefaultFamily) {
  StartToolkit();
  auto known = CreateFontByName(Utf8ToGbk("微软雅黑"), 14.0f, gfx::kBold);
  ASSERT_TRUE(known);
  EXPECT_EQ(known->FamilyName(), u"微软雅黑");
  auto unknown = CreateFontByName("No Such Family 42", 16.0f, gfx::kItalic | gfx::kUnderline);
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->FamilyName(), u"宋体");
  EXPECT_EQ(unknown->Size(), 16.0f);
  EXPECT_EQ(unknown->Style(), gfx::kItalic | gfx::kUnderline);
}

TEST(Toolkit, LoadImageFromBytesPutsTheSignatureBackWhenAsked) {
  auto strip = assets::CaptionButtons();  // stored without its signature
  auto with = LoadImageFromBytes(strip, true, false);
  ASSERT_TRUE(with);
  EXPECT_EQ(with->Width(), 729);
  EXPECT_EQ(with->Height(), 20);
  EXPECT_FALSE(LoadImageFromBytes(strip, false, false));
  EXPECT_FALSE(LoadImageFromBytes({}, true, false));
  auto whole = LoadImageFromBytes(assets::CheckBoxSprite(), false, true);
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->Width(), 68);
  EXPECT_EQ(whole->Height(), 17);
}

TEST(Toolkit, LoadImageCopiesOnlyTheFirstFrameUnlessKeepingTheStream) {
  test::TempDir dir;
  auto gif = dir / "two.gif";
  ASSERT_EQ(test::RunProgram(
                {"convert", "-size", "2x2", "-delay", "7", "xc:red", "xc:blue", gif.string()}),
            0);
  std::string bytes = test::ReadFile(gif);
  std::span<const uint8_t> span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  EXPECT_EQ(LoadImageFromBytes(span, false, true)->FrameCount(), 2);
  EXPECT_EQ(LoadImageFromBytes(span, false, false)->FrameCount(), 1);
}

class DesktopFont : public ::testing::Test {
 protected:
  void SetUp() override {
    old_home_ = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", dir_.path().c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    std::filesystem::create_directories(dir_ / ".config/gtk-3.0");
  }
  void TearDown() override { setenv("HOME", old_home_.c_str(), 1); }
  void Set(const std::string& name) {
    std::ofstream(dir_ / ".config/gtk-3.0/settings.ini")
        << "[Settings]\ngtk-theme-name=Adwaita\ngtk-font-name=" << name << "\n";
  }
  test::TempDir dir_;
  std::string old_home_;
};

TEST_F(DesktopFont, TheCaptionFontComesFromTheDesktop) {
  Set("WenQuanYi Micro Hei 10");
  EXPECT_EQ(DesktopInterfaceFont(), "WenQuanYi Micro Hei");
  EXPECT_EQ(SystemUiFontName(), "WenQuanYi Micro Hei");
  EXPECT_EQ(SystemUiFontName(1), "WenQuanYi Micro Hei");
}

TEST_F(DesktopFont, TahomaAndNoSettingGiveSongTi) {
  Set("Tahoma 9");
  EXPECT_EQ(SystemUiFontName(), Utf8ToGbk("宋体"));
  std::filesystem::remove(dir_ / ".config/gtk-3.0/settings.ini");
  if (!std::filesystem::exists("/etc/gtk-3.0/settings.ini")) {
    EXPECT_EQ(SystemUiFontName(), Utf8ToGbk("宋体"));
  }
}

}  // namespace
}  // namespace lw
