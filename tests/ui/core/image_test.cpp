#include "ui/core/gfx/image.h"

#include <gtest/gtest.h>

#include "assets/embedded.h"
#include "tests/support/test_support.h"

namespace lw::gfx {
namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

TEST(Image, DecodesPng) {
  auto image = Image::Decode(assets::WindowBackground());
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 420);
  EXPECT_EQ(image->Height(), 320);
  EXPECT_EQ(image->FrameCount(), 1);
  EXPECT_TRUE(image->FrameDelays().empty());
  EXPECT_EQ(AlphaOf(image->Frame().GetPixel(200, 160)), 255);
}

TEST(Image, RejectsWhatIsNoPicture) {
  EXPECT_FALSE(Image::Decode({}));
  EXPECT_FALSE(Image::Decode(Bytes("not a picture at all")));
  // A PNG without its signature is not one.
  auto png = assets::WindowBackground();
  EXPECT_FALSE(Image::Decode(png.subspan(8)));
}

TEST(Image, AnimatedGifHasItsFramesAndDelays) {
  test::TempDir dir;
  auto gif = dir / "three.gif";
  ASSERT_EQ(test::RunProgram({"convert", "-size", "4x3", "-delay", "5", "xc:red", "-delay", "0",
                              "xc:lime", "-delay", "20", "xc:blue", "-loop", "0", gif.string()}),
            0);
  auto image = Image::Decode(Bytes(test::ReadFile(gif)));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->FrameCount(), 3);
  EXPECT_EQ(image->Width(), 4);
  EXPECT_EQ(image->FrameDelays(), (std::vector<int>{5, 0, 20}));
  EXPECT_EQ(image->Frame().GetPixel(1, 1), 0xFFFF0000u);
  image->SelectFrame(2);
  EXPECT_EQ(image->SelectedFrame(), 2);
  EXPECT_EQ(image->Frame().GetPixel(1, 1), 0xFF0000FFu);
  image->SelectFrame(7);  // out of range: ignored
  EXPECT_EQ(image->SelectedFrame(), 2);
}

TEST(Image, DecodesJpeg) {
  test::TempDir dir;
  auto jpg = dir / "grey.jpg";
  ASSERT_EQ(test::RunProgram({"convert", "-size", "8x6", "xc:gray50", jpg.string()}), 0);
  auto image = Image::Decode(Bytes(test::ReadFile(jpg)));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 8);
  EXPECT_NEAR(RedOf(image->Frame().GetPixel(3, 3)), 127, 3);
}

}  // namespace
}  // namespace lw::gfx
