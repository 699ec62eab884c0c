#include "ui/core/gfx/graphics.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace lw::gfx {
namespace {

bool Near(Argb a, Argb b, int tolerance = 2) {
  for (int shift : {24, 16, 8, 0}) {
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  }
  return true;
}

#define EXPECT_PIXEL(bitmap, x, y, color)                                                 \
  EXPECT_PRED2([](Argb a, Argb b) { return Near(a, b); }, (bitmap).GetPixel(x, y), color) \
      << "at " << (x) << ", " << (y) << std::hex << " got 0x" << (bitmap).GetPixel(x, y)

TEST(Bitmap, PixelsReadBackWithStraightAlpha) {
  Bitmap b(4, 3);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.GetPixel(0, 0), 0u);  // new bitmaps are transparent
  b.SetPixel(1, 1, 0x80FF0000);
  EXPECT_PIXEL(b, 1, 1, 0x80FF0000);
  EXPECT_EQ(b.GetPixel(9, 9), 0u);
  Bitmap part = b.Clone({1, 1, 3, 3});
  EXPECT_EQ(part.Width(), 2);
  EXPECT_PIXEL(part, 0, 0, 0x80FF0000);
  Bitmap copy = b;
  copy.SetPixel(1, 1, 0xFF00FF00);
  EXPECT_PIXEL(b, 1, 1, 0x80FF0000);  // a copy has pixels of its own
  EXPECT_TRUE(Bitmap(0, 5).IsNull());
}

TEST(Graphics, FillsCoverTheirRectangleExactly) {
  Bitmap b(10, 10);
  Graphics g(b);
  g.SetSmoothingMode(SmoothingMode::kAntiAlias);
  g.Clear(0xFF000000);
  g.FillRectangle(Brush::Solid(0xFFFFFFFF), {2, 3, 4, 5});
  EXPECT_PIXEL(b, 2, 3, 0xFFFFFFFF);
  EXPECT_PIXEL(b, 5, 7, 0xFFFFFFFF);
  EXPECT_PIXEL(b, 6, 7, 0xFF000000);
  EXPECT_PIXEL(b, 5, 8, 0xFF000000);
  EXPECT_PIXEL(b, 1, 3, 0xFF000000);
}

TEST(Graphics, OutlinesRunAlongTheOuterPixels) {
  Bitmap b(8, 6);
  Graphics g(b);
  g.SetSmoothingMode(SmoothingMode::kAntiAlias);
  g.DrawRectangle(Pen(0xFF0000FF), {0, 0, 7, 5});
  for (int x = 0; x < 8; ++x) {
    EXPECT_PIXEL(b, x, 0, 0xFF0000FF);
    EXPECT_PIXEL(b, x, 5, 0xFF0000FF);
  }
  for (int y = 1; y < 5; ++y) {
    EXPECT_PIXEL(b, 0, y, 0xFF0000FF);
    EXPECT_PIXEL(b, 7, y, 0xFF0000FF);
    EXPECT_EQ(b.GetPixel(3, y), 0u);
  }
}

TEST(Graphics, ClearHonoursTheClipAndExcludeCutsHoles) {
  Bitmap b(10, 10);
  Graphics g(b);
  g.SetClip(RectF{0, 0, 6, 10});
  g.SetClip(RectF{2, 2, 2, 2}, CombineMode::kExclude);
  g.Clear(0xFF00FF00);
  EXPECT_PIXEL(b, 0, 0, 0xFF00FF00);
  EXPECT_EQ(b.GetPixel(2, 2), 0u);
  EXPECT_EQ(b.GetPixel(7, 0), 0u);
  EXPECT_EQ(g.VisibleClipBounds(), (RectF{0, 0, 6, 10}));
  g.ResetClip();
  EXPECT_EQ(g.VisibleClipBounds(), (RectF{0, 0, 10, 10}));
}

TEST(Graphics, GradientWrapModes) {
  // A horizontal gradient over the first 10 pixels, used over 20.
  auto row = [](WrapMode wrap) {
    Bitmap b(20, 1);
    Graphics g(b);
    g.FillRectangle(Brush::Gradient({0, 0, 10, 1}, 0xFF000000, 0xFFFFFFFF,
                                    LinearGradientMode::kHorizontal, wrap),
                    {0, 0, 20, 1});
    return b;
  };
  Bitmap flip = row(WrapMode::kTileFlipXY), tile = row(WrapMode::kTile),
         pad = row(WrapMode::kClamp);
  EXPECT_LT(RedOf(flip.GetPixel(1, 0)), 40);
  EXPECT_GT(RedOf(flip.GetPixel(9, 0)), 215);
  // Mirrored past the end: bright again next to the end, dark at the far side.
  EXPECT_GT(RedOf(flip.GetPixel(10, 0)), 215);
  EXPECT_LT(RedOf(flip.GetPixel(19, 0)), 40);
  // Repeated: dark again just past the end.
  EXPECT_LT(RedOf(tile.GetPixel(10, 0)), 40);
  EXPECT_GT(RedOf(pad.GetPixel(19, 0)), 250);
}

TEST(Graphics, ImagesDrawAtAnOpacity) {
  Bitmap image(4, 4);
  Graphics(image).Clear(0xFFFF0000);
  Bitmap b(8, 8);
  Graphics g(b);
  g.DrawImage(image, {0, 0, 4, 4}, 128 / 255.0f);
  EXPECT_PIXEL(b, 1, 1, 0x80FF0000);
  g.DrawImage(image, {4, 4, 4, 4});
  EXPECT_PIXEL(b, 5, 5, 0xFFFF0000);
  // Stretched from a source part.
  image.SetPixel(0, 0, 0xFF0000FF);
  Bitmap big(8, 8);
  Graphics(big).DrawImage(image, {0, 0, 8, 8}, {0, 0, 1, 1});
  EXPECT_PIXEL(big, 7, 7, 0xFF0000FF);
}

TEST(Graphics, ASourcePastTheImageTakesOnlyWhatItHas) {
  Bitmap image(4, 4);
  Graphics(image).Clear(0xFF00FF00);
  Bitmap b(8, 8);
  Graphics g(b);
  g.DrawImage(image, {0, 0, 4, 6}, {0, 2, 4, 6});  // rows 2..7 asked, 2..3 exist
  EXPECT_PIXEL(b, 1, 0, 0xFF00FF00);
  EXPECT_PIXEL(b, 1, 1, 0xFF00FF00);
  for (int y = 2; y < 8; ++y)
    EXPECT_EQ(b.GetPixel(1, y), 0u) << y;
}

TEST(Graphics, SourceCopyReplacesPixels) {
  Bitmap b(4, 4);
  Graphics g(b);
  g.Clear(0xFFFFFFFF);
  g.SetCompositingMode(CompositingMode::kSourceCopy);
  g.FillRectangle(Brush::Solid(0x40000000), {0, 0, 2, 2});
  EXPECT_PIXEL(b, 0, 0, 0x40000000);
}

TEST(Graphics, PathsFillAndClipWithArcs) {
  Bitmap b(40, 40);
  Graphics g(b);
  g.SetSmoothingMode(SmoothingMode::kAntiAlias);
  Path circle;
  circle.AddArc(0, 0, 40, 40, 0, 360);
  g.SetClip(circle);
  g.Clear(0xFF000000);
  EXPECT_PIXEL(b, 20, 20, 0xFF000000);
  EXPECT_EQ(b.GetPixel(1, 1), 0u);  // outside the circle
  EXPECT_EQ(b.GetPixel(38, 38), 0u);
}

}  // namespace
}  // namespace lw::gfx
