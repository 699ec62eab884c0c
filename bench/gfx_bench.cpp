// The drawing layer's costs the toolkit meets most: laying out and drawing a line of CJK text,
// and clearing and filling a whole main-window frame.
#include <benchmark/benchmark.h>

#include "ui/core/draw_helpers.h"
#include "ui/core/toolkit.h"

namespace lw {
namespace {

const std::u16string kLine = u"夏季新款连衣裙女装韩版宽松显瘦长款碎花雪纺";  // 20 characters

gfx::StringFormat NoWrap() {
  gfx::StringFormat f;
  f.flags = gfx::kNoWrap;
  return f;
}

void BM_MeasureCjkLine(benchmark::State& state) {
  StartToolkit();
  auto font = DefaultFont();
  gfx::Bitmap b(300, 30);
  gfx::Graphics g(b);
  auto format = NoWrap();
  for (auto _ : state)
    benchmark::DoNotOptimize(g.MeasureString(kLine, *font, {}, format));
}
BENCHMARK(BM_MeasureCjkLine)->Unit(benchmark::kMicrosecond);

void BM_DrawCjkLine(benchmark::State& state) {
  StartToolkit();
  auto font = DefaultFont();
  gfx::Bitmap b(300, 30);
  gfx::Graphics g(b);
  g.SetTextRenderingHint(gfx::TextRenderingHint::kAntiAliasGridFit);
  auto format = NoWrap();
  auto brush = gfx::Brush::Solid(0xD2000000);
  for (auto _ : state)
    g.DrawString(kLine, *font, {2, 4, 296, 22}, format, brush);
}
BENCHMARK(BM_DrawCjkLine)->Unit(benchmark::kMicrosecond);

// What a full repaint of the 414 × 326 main window starts with.
void BM_ClearAndFillMainFrame(benchmark::State& state) {
  gfx::Bitmap b(414, 326);
  gfx::Graphics g(b);
  g.SetSmoothingMode(gfx::SmoothingMode::kAntiAlias);
  for (auto _ : state) {
    g.Clear(0);
    g.FillRectangle(gfx::Brush::Solid(Argb(0xF4EEEA, 255)), {0, 0, 414, 326});
  }
}
BENCHMARK(BM_ClearAndFillMainFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lw
