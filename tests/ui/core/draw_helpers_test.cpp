#include "ui/core/draw_helpers.h"

#include <gtest/gtest.h>

#include "ui/core/ui_string_format.h"

namespace lw {
namespace {

using gfx::AlphaOf;
using gfx::Bitmap;
using gfx::Graphics;

Bitmap Blank(int w, int h) {
  return Bitmap(w, h);
}

TEST(DrawHelpers, ArgbSwapsRedAndBlueAndNeverGivesFullAlpha) {
  EXPECT_EQ(Argb(0x0000FF, 255), 0xFEFF0000u);
  EXPECT_EQ(Argb(0x0000FF), 0xFEFF0000u);
  EXPECT_EQ(Argb(0x0000FF, 128), 0x80FF0000u);
  EXPECT_EQ(Argb(0xFFFFFF, 0), 0x00FFFFFFu);
  EXPECT_EQ(Argb(0xFF8800, 50), 0x320088FFu);
}

TEST(DrawHelpers, RectangleEdges) {
  RectF r = MakeRect(10, 20, 30, 40);
  EXPECT_TRUE(PointInRect(r, 10, 20));
  EXPECT_TRUE(PointInRect(r, 39.9f, 59.9f));
  EXPECT_FALSE(PointInRect(r, 40, 30));
  EXPECT_FALSE(PointInRect(r, 20, 60));
  EXPECT_FALSE(PointInRect(r, 9.99f, 30));
  EXPECT_TRUE(RectsOverlap(r, MakeRect(39, 59, 5, 5)));
  EXPECT_FALSE(RectsOverlap(r, MakeRect(40, 20, 5, 5)));  // touching is no overlap
  EXPECT_FALSE(RectsOverlap(r, MakeRect(10, 60, 5, 5)));
  EXPECT_EQ(ToSystemRect({1.7f, 2.2f, 3.9f, 4.5f}), (RectI{1, 2, 5, 6}));
  EXPECT_EQ(FromSystemRect({1, 2, 5, 6}), (RectF{1, 2, 4, 4}));
  AdjustRect(1, 2, 3, 4, r);
  EXPECT_EQ(r, (RectF{11, 22, 33, 44}));
}

TEST(DrawHelpers, FrameStyles) {
  const RectF box{0, 0, 20, 10};
  auto draw = [&](uint32_t style) {
    Bitmap b = Blank(20, 10);
    Graphics g(b);
    g.SetSmoothingMode(gfx::SmoothingMode::kAntiAlias);
    DrawFrame(g, box, style);
    return b;
  };
  Bitmap none = draw(0);
  for (int x = 0; x < 20; ++x)
    EXPECT_EQ(none.GetPixel(x, 0), 0u);

  Bitmap sunken = draw(1);  // dark top and left, light bottom and right
  EXPECT_NEAR(AlphaOf(sunken.GetPixel(10, 0)), 160, 4);
  EXPECT_EQ(sunken.GetPixel(10, 0) & 0xFFFFFF, 0u);
  EXPECT_EQ(sunken.GetPixel(0, 5) & 0xFFFFFF, 0u);
  EXPECT_GT(AlphaOf(sunken.GetPixel(10, 9)), 60);
  EXPECT_EQ(sunken.GetPixel(10, 9) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(sunken.GetPixel(10, 5), 0u);

  Bitmap raised = draw(2);  // light top and left, dark bottom and right
  EXPECT_EQ(raised.GetPixel(10, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_NEAR(AlphaOf(raised.GetPixel(10, 9)), 168, 4);
  EXPECT_EQ(raised.GetPixel(19, 5) & 0xFFFFFF, 0u);

  Bitmap flat = draw(3);
  EXPECT_EQ(flat.GetPixel(10, 0), 0xFF646464u);
  EXPECT_EQ(flat.GetPixel(19, 5), 0xFF646464u);
  EXPECT_EQ(flat.GetPixel(10, 5), 0u);

  Bitmap focus = draw(4);  // dashed: some pixels of the top edge are gaps
  int inked = 0;
  for (int x = 0; x < 20; ++x)
    inked += AlphaOf(focus.GetPixel(x, 0)) > 60;
  EXPECT_GT(inked, 5);
  EXPECT_LT(inked, 20);

  Bitmap coloured = draw(0x80FF0000);  // any other value is the frame's colour
  EXPECT_EQ(coloured.GetPixel(10, 0), 0x80FF0000u);
  EXPECT_EQ(coloured.GetPixel(0, 5), 0x80FF0000u);
}

// The first column from the left whose alpha exceeds 8.
int FirstInk(const Bitmap& b, int y) {
  for (int x = 0; x < b.Width(); ++x) {
    if (AlphaOf(b.GetPixel(x, y)) > 8) return x;
  }
  return -1;
}

TEST(DrawHelpers, EdgeFadeBandDepth) {
  for (auto [width, depth] : {std::pair{150, 75}, std::pair{420, 100}}) {
    Bitmap b = Blank(width, 20);
    Graphics g(b);
    EdgeFade(g, RectF{0, 0, float(width), 20}, 0x000000, 100, Edges{false, false, false, true}, 0);
    int start = FirstInk(b, 10);
    EXPECT_NEAR(start, width - depth, 10) << width;
    // Opaque at the edge, nothing before the band.
    EXPECT_GT(AlphaOf(b.GetPixel(width - 2, 10)), 240);
    EXPECT_EQ(b.GetPixel(width - depth - 5, 10), 0u);
  }
  // The bottom band: transparent at its top, opaque at the bottom.
  Bitmap b = Blank(60, 300);
  Graphics g(b);
  EdgeFade(g, RectF{0, 0, 60, 300}, 0xFFFFFF, 100, Edges{false, false, true, false}, 0);
  EXPECT_EQ(b.GetPixel(30, 150), 0u);
  EXPECT_LT(AlphaOf(b.GetPixel(30, 210)), 40);
  EXPECT_GT(AlphaOf(b.GetPixel(30, 298)), 240);
}

TEST(DrawHelpers, RoundRectRegion) {
  gfx::Region square = RoundRectRegion(40, 30, 6, 8, false);
  EXPECT_EQ(square.Scans(), (std::vector<RectF>{{6, 6, 29, 19}}));
  gfx::Region round = RoundRectRegion(40, 30, 6, 8, true);
  EXPECT_EQ(round.Bounds(), (RectF{6, 6, 29, 19}));
  EXPECT_FALSE(round.Contains(6, 6));
  EXPECT_FALSE(round.Contains(34, 24));
  EXPECT_TRUE(round.Contains(20, 6));
  EXPECT_TRUE(round.Contains(6, 15));
  EXPECT_GT(round.Scans().size(), 2u);
}

TEST(DrawHelpers, RoundedPathCorners) {
  Bitmap b = Blank(20, 20);
  Graphics g(b);
  g.SetSmoothingMode(gfx::SmoothingMode::kAntiAlias);
  g.FillPath(gfx::Brush::Solid(0xFF000000), RoundedPath({0, 0, 20, 20}, 8));
  EXPECT_EQ(b.GetPixel(0, 0), 0u);
  EXPECT_EQ(b.GetPixel(18, 18), 0u);
  EXPECT_EQ(b.GetPixel(10, 10), 0xFF000000u);
  EXPECT_EQ(b.GetPixel(10, 0), 0xFF000000u);
  EXPECT_EQ(b.GetPixel(0, 10), 0xFF000000u);
  EXPECT_EQ(b.GetPixel(19, 10), 0u);  // the path ends at left + width - 1
  EXPECT_EQ(b.GetPixel(18, 10), 0xFF000000u);
}

TEST(DrawHelpers, GradientBandFillsOnePixelLess) {
  Bitmap b = Blank(10, 10);
  Graphics g(b);
  GradientBand(g, {0, 0, 10, 10}, 0xFF000000, 0xFFFFFFFF, 1);
  EXPECT_LT(gfx::RedOf(b.GetPixel(4, 0)), 30);
  EXPECT_GT(gfx::RedOf(b.GetPixel(4, 8)), 200);
  EXPECT_EQ(b.GetPixel(4, 9), 0u);
  EXPECT_EQ(b.GetPixel(9, 4), 0u);
}

TEST(DrawHelpers, ShadowFadesOutwards) {
  Bitmap b = Blank(40, 40);
  Graphics g(b);
  g.SetSmoothingMode(gfx::SmoothingMode::kAntiAlias);
  DrawShadow(g, {10, 10, 20, 20}, false, 0x000000);
  int a0 = AlphaOf(b.GetPixel(20, 10)), a1 = AlphaOf(b.GetPixel(20, 9)),
      a2 = AlphaOf(b.GetPixel(20, 8)), a3 = AlphaOf(b.GetPixel(20, 7));
  EXPECT_NEAR(a0, 45, 3);
  EXPECT_NEAR(a1, 25, 3);
  EXPECT_NEAR(a2, 10, 3);
  EXPECT_NEAR(a3, 5, 3);
  EXPECT_EQ(b.GetPixel(20, 20), 0u);
}

TEST(DrawHelpers, AverageColorOfAUniformImage) {
  Bitmap b = Blank(7, 5);
  Graphics(b).Clear(0xFF3366CC);
  EXPECT_EQ(AverageColor(b), 0xCC6633u);
  // Transparent pixels count as black.
  Bitmap half = Blank(2, 1);
  half.SetPixel(0, 0, 0xFFC80000);
  EXPECT_EQ(AverageColor(half), 0x000064u);
}

TEST(DrawHelpers, NineGridKeepsCornersUnscaled) {
  Bitmap image = Blank(9, 9);
  {
    Graphics g(image);
    g.Clear(0xFF808080);
    g.FillRectangle(gfx::Brush::Solid(0xFFFF0000), {0, 0, 3, 3});
    g.FillRectangle(gfx::Brush::Solid(0xFF0000FF), {6, 6, 3, 3});
  }
  image.SetPixel(0, 0, 0xFF00FF00);
  Bitmap b = Blank(30, 20);
  Graphics g(b);
  DrawNineGrid(g, image, {0, 0, 30, 20}, {3, 3, 3, 3});
  EXPECT_EQ(b.GetPixel(0, 0), 0xFF00FF00u);
  EXPECT_EQ(b.GetPixel(2, 2), 0xFFFF0000u);
  EXPECT_EQ(b.GetPixel(3, 3), 0xFF808080u);
  EXPECT_EQ(b.GetPixel(27, 17), 0xFF0000FFu);
  EXPECT_EQ(b.GetPixel(29, 19), 0xFF0000FFu);
  EXPECT_EQ(b.GetPixel(26, 16), 0xFF808080u);
  // An empty grid draws the image plainly at the top-left.
  Bitmap plain = Blank(30, 20);
  Graphics p(plain);
  DrawNineGrid(p, image, {0, 0, 30, 20}, {});
  EXPECT_EQ(plain.GetPixel(8, 8), 0xFF0000FFu);
  EXPECT_EQ(plain.GetPixel(9, 9), 0u);
}

TEST(DrawHelpers, ImagesAtOpacityAndCentred) {
  Bitmap image = Blank(4, 4);
  Graphics(image).Clear(0xFF00FF00);
  Bitmap b = Blank(10, 10);
  Graphics g(b);
  DrawImageAlpha(g, image, {0, 0, 4, 4}, 128);
  EXPECT_NEAR(AlphaOf(b.GetPixel(1, 1)), 128, 2);
  Bitmap c = Blank(10, 10);
  Graphics gc(c);
  DrawImageAt(gc, image, {0, 0, 10, 10}, true);
  EXPECT_EQ(c.GetPixel(2, 2), 0u);
  EXPECT_EQ(c.GetPixel(3, 3), 0xFF00FF00u);
  EXPECT_EQ(c.GetPixel(6, 6), 0xFF00FF00u);
  EXPECT_EQ(c.GetPixel(7, 7), 0u);
}

TEST(UiStringFormat, OwnsItsHandleUnlessToldNot) {
  gfx::StringFormat* kept = nullptr;
  gfx::StringFormat* outliving = nullptr;
  {
    UiStringFormat f;
    EXPECT_EQ(f.FormatHandle(), nullptr);
    ASSERT_TRUE(f.CreateFormat(gfx::kNoWrap));
    kept = f.FormatHandle();
    EXPECT_EQ(f.FormatFlags(), gfx::kNoWrap);
    EXPECT_EQ(f.Align(gfx::StringAlignment::kCenter), gfx::StringAlignment::kCenter);
    EXPECT_EQ(kept->alignment, gfx::StringAlignment::kCenter);
    EXPECT_EQ(f.Trimming(gfx::StringTrimming::kEllipsisCharacter),
              gfx::StringTrimming::kEllipsisCharacter);
    EXPECT_EQ(f.HotkeyPrefix(), gfx::HotkeyPrefix::kNone);
    // Without owning, the previous handle stays alive and the new one outlives the wrapper.
    ASSERT_TRUE(f.CreateFormat(gfx::kLineLimit, 0, false));
    outliving = f.FormatHandle();
    EXPECT_NE(outliving, kept);
  }
  EXPECT_EQ(kept->flags, gfx::kNoWrap);
  EXPECT_EQ(outliving->flags, gfx::kLineLimit);
  delete kept;
  delete outliving;
}

}  // namespace
}  // namespace lw
