// sample_sheet: renders what the drawing layer and its helpers can do onto one picture: frame
// styles, gradients, rounded paths, CJK text in both mapped families, the caption-button
// strip and the check-box sprite.
//
//   sample_sheet OUT.png
#include <cairo.h>

#include <cstdio>

#include "assets/embedded.h"
#include "base/codepage.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/toolkit.h"

using namespace lw;
using namespace lw::gfx;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: sample_sheet OUT.png\n");
    return 2;
  }
  StartToolkit();
  Bitmap sheet(760, 420);
  Graphics g(sheet);
  g.SetSmoothingMode(SmoothingMode::kAntiAlias);
  g.SetTextRenderingHint(TextRenderingHint::kAntiAliasGridFit);
  g.Clear(0xFFF4F6FA);
  auto song = CreateFontByName(Utf8ToGbk("宋体"), 14, kRegular);
  auto yahei = CreateFontByName(Utf8ToGbk("微软雅黑"), 18, kBold);
  auto small = CreateFontByName(Utf8ToGbk("微软雅黑"), 12, kRegular);
  StringFormat plain;
  plain.flags = kNoWrap;
  Brush ink = Brush::Solid(0xE6000000);

  auto caption = [&](const char16_t* text, float x, float y) {
    g.DrawString(text, *small, {x, y, 0, 0}, plain, Brush::Solid(0xFF5A6572));
  };

  // Frame styles 1-4 and a coloured frame.
  caption(u"DrawFrame 1-4, 0x80FF0000", 20, 12);
  const uint32_t styles[] = {1, 2, 3, 4, 0x80FF0000};
  for (int i = 0; i < 5; ++i) {
    RectF r{20.0f + i * 70, 34, 60, 36};
    g.FillRectangle(Brush::Solid(0xFFDDE3EA), r);
    DrawFrame(g, r, styles[i]);
  }

  // Gradient bands and an edge fade.
  caption(u"GradientBand, EdgeFade", 390, 12);
  GradientBand(g, {390, 34, 160, 36}, lw::Argb(0xD87F2F, 40), lw::Argb(0xD87F2F, 255), 0);
  GradientBand(g, {560, 34, 80, 36}, 0xFFFF9A3C, 0xFFF25C05, 1);
  g.FillRectangle(Brush::Solid(0xFF2F7FD8), {650, 34, 90, 36});
  EdgeFade(g, {650, 34, 90, 36}, 0xFAF6F4, 30, Edges{false, false, true, true}, 0);

  // Rounded paths, filled and outlined, with a shadow.
  caption(u"RoundedPath, DrawRounded, DrawShadow", 20, 86);
  for (int i = 0; i < 4; ++i) {
    RectF r{30.0f + i * 90, 112, 70, 44};
    DrawShadow(g, r, true, 0x000000);
    g.FillPath(Brush::Solid(i % 2 ? 0xFFFFFFFF : 0xFFE8F1FB), RoundedPath(r, 4.0f + 4 * i));
    DrawRounded(g, r, 4.0f + 4 * i, 0xCC606060);
  }

  // CJK text in both families.
  caption(u"宋体 / 微软雅黑", 400, 86);
  g.DrawString(u"宋体：拼多多长尾词采集助手", *song, {400, 110, 0, 0}, plain, ink);
  g.DrawString(u"微软雅黑：开始采集 停止采集", *yahei, {400, 134, 0, 0}, plain, ink);
  StringFormat wrapped;
  g.DrawString(u"换行：夏季新款连衣裙女装韩版宽松显瘦长款碎花雪纺", *song, {400, 166, 330, 0},
               wrapped, Brush::Solid(0xFF2F7FD8));
  StringFormat hotkey = plain;
  hotkey.hotkey_prefix = HotkeyPrefix::kShow;
  g.DrawString(u"&Save 保存(&S)  剪切(&T)", *song, {400, 214, 0, 0}, hotkey, ink);

  // The caption-button strip, on a dark and a light backing.
  caption(u"ButtonSprite (729 × 20)", 20, 250);
  g.FillRectangle(Brush::Solid(0xFFFFFFFF), {14, 272, 741, 26});
  g.DrawImage(ButtonSprite(), 20, 275);

  // The check-box sprite, doubled.
  caption(u"check box sprite (68 × 17) and check mark", 20, 318);
  auto boxes = LoadImageFromBytes(assets::CheckBoxSprite(), false, false);
  auto mark = LoadImageFromBytes(assets::CheckMark(), false, false);
  if (boxes) g.DrawImage(boxes->Frame(), {20, 342, 136, 34});
  if (mark) g.DrawImage(mark->Frame(), 180, 348);
  auto icon = LoadImageFromBytes(assets::ProgramIcon48(), false, false);
  if (icon) g.DrawImage(icon->Frame(), 240, 336);

  cairo_status_t status =
      cairo_surface_write_to_png(static_cast<cairo_surface_t*>(sheet.NativeSurface()), argv[1]);
  if (status != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("wrote %s\n", argv[1]);
  return 0;
}
