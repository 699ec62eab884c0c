#include <gtest/gtest.h>

#include <cmath>

#include "ui/core/gfx/graphics.h"

namespace lw::gfx {
namespace {

std::unique_ptr<Font> SongTi(float size = 12) {
  auto family = FontFamily::FromName(u"宋体");
  EXPECT_TRUE(family.has_value());
  return std::make_unique<Font>(*family, size, kRegular);
}

// The box of the pixels with ink (alpha above 64); all zero when there are none.
RectI Ink(const Bitmap& b) {
  RectI box{b.Width(), b.Height(), 0, 0};
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      if (AlphaOf(b.GetPixel(x, y)) > 64) {
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
               std::max(box.bottom, y + 1)};
      }
    }
  }
  return box.right == 0 ? RectI{} : box;
}

Bitmap Render(std::u16string_view text, const Font& font, const RectF& layout,
              const StringFormat& format, int w = 300, int h = 60) {
  Bitmap b(w, h);
  Graphics g(b);
  g.SetTextRenderingHint(TextRenderingHint::kAntiAliasGridFit);
  g.DrawString(text, font, layout, format, Brush::Solid(0xFF000000));
  return b;
}

TEST(Text, MappedFamiliesExistAndUnknownOnesDoNot) {
  for (const char16_t* name : {u"宋体", u"SimSun", u"微软雅黑", u"Microsoft YaHei"}) {
    EXPECT_TRUE(FontFamily::FromName(name).has_value());
  }
  EXPECT_TRUE(FontFamily::FromName(u"WenQuanYi Micro Hei").has_value());
  EXPECT_FALSE(FontFamily::FromName(u"No Such Family 42").has_value());
  EXPECT_FALSE(FontFamily::FromName(u"").has_value());
}

TEST(Text, ACjkLineGrowsWithItsLength) {
  auto font = SongTi();
  EXPECT_GT(font->Height(), 12.0f);
  EXPECT_LT(font->Height(), 20.0f);
  Bitmap b(10, 10);
  Graphics g(b);
  StringFormat f;
  f.flags = kNoWrap;
  float one = g.MeasureString(u"长尾词", *font, {}, f).width;
  float two = g.MeasureString(u"长尾词长尾词", *font, {}, f).width;
  EXPECT_GT(one, 30.0f);  // three 12-pixel characters
  EXPECT_NEAR(two, 2 * one, 2.0f);
  // Drawn, it shows ink in a CJK font of about that width.
  RectI ink = Ink(Render(u"长尾词", *font, {0, 0, 0, 0}, f));
  EXPECT_NEAR(ink.width(), one, 4);
  EXPECT_GE(ink.height(), 9);
}

TEST(Text, WrappingAtAWidthGivesSeveralRows) {
  auto font = SongTi();
  Bitmap b(10, 10);
  Graphics g(b);
  StringFormat f;
  const std::u16string text = u"夏季新款连衣裙女装韩版宽松显瘦长款";
  f.ranges = {{0, static_cast<int>(text.size())}};
  auto rows = g.MeasureCharacterRanges(text, *font, {0, 0, 60, 0}, f)[0].Scans();
  EXPECT_GE(rows.size(), 3u);
  for (const RectF& r : rows)
    EXPECT_LE(r.left + r.width, 60.5f);
  RectF box = g.MeasureString(text, *font, {0, 0, 60, 0}, f);
  EXPECT_GT(box.height, 2.5f * font->Height());
  EXPECT_LE(box.width, 60.5f);
}

TEST(Text, ARangeAcrossAWrapGivesOneRectanglePerRow) {
  auto font = SongTi();
  Bitmap b(10, 10);
  Graphics g(b);
  StringFormat f;
  f.ranges = {{3, 4}, {0, 1}, {2, 0}};
  // Five 12-pixel characters fit in 62 pixels: characters 3..6 straddle the wrap.
  auto regions = g.MeasureCharacterRanges(u"一二三四五六七八九十", *font, {0, 0, 62, 0}, f);
  ASSERT_EQ(regions.size(), 3u);
  auto rows = regions[0].Scans();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_LT(rows[0].top + 1, rows[1].top);
  EXPECT_GT(rows[0].left, 30.0f);  // starts at the fourth character
  EXPECT_NEAR(rows[1].left, 0.0f, 0.5f);
  EXPECT_EQ(regions[1].Scans().size(), 1u);
  EXPECT_TRUE(regions[2].IsEmpty());
}

TEST(Text, ATabJumpsToTheNextEightPixelStop) {
  auto font = SongTi();
  Bitmap b(10, 10);
  Graphics g(b);
  StringFormat f;
  f.flags = kNoWrap | kMeasureTrailingSpaces;
  f.first_tab_offset = 1.0f;
  f.tab_stops = {8.0f};
  f.ranges = {{2, 1}};
  // The first stop is at 1 + 8 = 9; then every 8 pixels.
  float after_one = g.MeasureCharacterRanges(u"a\tb", *font, {5, 0, 0, 0}, f)[0].Bounds().left;
  EXPECT_NEAR(after_one, 5 + 9, 0.5f);
  f.ranges = {{4, 1}};
  float after_three = g.MeasureCharacterRanges(u"aaa\tb", *font, {5, 0, 0, 0}, f)[0].Bounds().left;
  float stop = after_three - 5 - 1;
  EXPECT_GT(stop, 8.5f);
  EXPECT_NEAR(std::fmod(stop, 8.0f), 0.0f, 0.5f);
}

TEST(Text, EllipsisTrimmingShortensTheLine) {
  auto font = SongTi();
  const std::u16string text = u"夏季新款连衣裙女装韩版宽松";
  StringFormat plain;
  plain.flags = kNoWrap | kNoClip;
  plain.trimming = StringTrimming::kNone;
  StringFormat trimmed = plain;
  trimmed.trimming = StringTrimming::kEllipsisCharacter;
  RectI full = Ink(Render(text, *font, {0, 0, 70, 20}, plain));
  RectI cut = Ink(Render(text, *font, {0, 0, 70, 20}, trimmed));
  EXPECT_GT(full.right, 100);
  EXPECT_LE(cut.right, 71);
  EXPECT_GT(cut.right, 40);
}

TEST(Text, AnAmpersandPrefixUnderlinesTheNextCharacter) {
  auto font = SongTi(16);
  StringFormat show;
  show.flags = kNoWrap;
  show.hotkey_prefix = HotkeyPrefix::kShow;
  StringFormat none = show;
  none.hotkey_prefix = HotkeyPrefix::kNone;
  RectI s = Ink(Render(u"S", *font, {10, 5, 0, 0}, none));
  RectI prefixed = Ink(Render(u"&S", *font, {10, 5, 0, 0}, show));
  RectI literal = Ink(Render(u"&S", *font, {10, 5, 0, 0}, none));
  // No "&" is drawn: the ink starts where a lone "S" starts, and is no wider than it plus
  // the underline; the underline reaches below the letter.
  EXPECT_NEAR(prefixed.left, s.left, 1);
  EXPECT_LE(prefixed.right, s.right + 2);
  EXPECT_GT(prefixed.bottom, s.bottom);
  EXPECT_GT(literal.right, s.right + 5);  // without the prefix, "&" is text
  Bitmap b(10, 10);
  Graphics g(b);
  EXPECT_NEAR(g.MeasureString(u"&S", *font, {}, show).width,
              g.MeasureString(u"S", *font, {}, none).width, 0.5f);
}

TEST(Text, AlignmentAndClipping) {
  auto font = SongTi();
  StringFormat centred;
  centred.flags = kNoWrap;
  centred.alignment = StringAlignment::kCenter;
  centred.line_alignment = StringAlignment::kCenter;
  RectI ink = Ink(Render(u"词", *font, {0, 0, 100, 40}, centred, 100, 40));
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 50, 2);
  EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 20, 3);
  // Clipped to the layout rectangle unless told not to.
  StringFormat clipped;
  clipped.flags = kNoWrap;
  EXPECT_LE(Ink(Render(u"长尾词长尾词", *font, {0, 0, 30, 20}, clipped)).right, 30);
}

}  // namespace
}  // namespace lw::gfx
