#include "ui/core/draw_helpers.h"

#include <algorithm>
#include <cmath>

namespace lw {
namespace {

constexpr float kTolerance = 1e-7f;
using gfx::Brush;
using gfx::Pen;

}  // namespace

gfx::Argb Argb(uint32_t color, std::optional<int> alpha) {
  int a = alpha.value_or(255);
  if (a == 255) a = 254;
  uint32_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
  return (static_cast<uint32_t>(a & 0xFF) << 24) | (r << 16) | (g << 8) | b;
}

RectF MakeRect(int left, int top, int width, int height) {
  return {float(left), float(top), float(width), float(height)};
}

RectI ToSystemRect(const RectF& r) {
  return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.left + r.width),
          static_cast<int>(r.top + r.height)};
}

RectF FromSystemRect(const RectI& r) {
  return {float(r.left), float(r.top), float(r.right - r.left), float(r.bottom - r.top)};
}

void AdjustRect(float dx, float dy, float dw, float dh, RectF& r) {
  r.left += dx;
  r.top += dy;
  r.width += dw;
  r.height += dh;
}

bool PointInRect(const RectF& r, float x, float y) {
  return x >= r.left - kTolerance && x < r.left + r.width - kTolerance && y >= r.top - kTolerance &&
         y < r.top + r.height - kTolerance;
}

bool RectsOverlap(const RectF& a, const RectF& b) {
  return a.left < b.left + b.width - kTolerance && a.left + a.width > b.left + kTolerance &&
         a.top < b.top + b.height - kTolerance && a.top + a.height > b.top + kTolerance;
}

gfx::Pen MakePen(gfx::Argb color, float width) {
  return Pen(color, width);
}

void DrawFrame(gfx::Graphics& g, const RectF& r, uint32_t style, std::optional<gfx::Argb> color,
               float p) {
  const float l = r.left, t = r.top, w = r.width, h = r.height;
  switch (style) {
    case 0:
      return;
    case 1: {  // sunken
      Pen dark(0xA0000000, p), light(0xF5FFFFFF, p / 2);
      g.DrawLine(dark, l, t, l + w - 1, t);
      g.DrawLine(dark, l, t, l, t + h - 1);
      g.DrawLine(light, l, t + h - 1, l + w - 1, t + h - 1);
      g.DrawLine(light, l + w - 1, t, l + w - 1, t + h - 1);
      return;
    }
    case 2: {  // raised
      Pen light(0xF5FFFFFF, p / 2), dark(0xA8000000, p);
      g.DrawLine(light, l, t, l + w - 2, t);
      g.DrawLine(light, l, t, l, t + h - 2);
      g.DrawLine(dark, l, t + h - 1, l + w - 1, t + h - 1);
      g.DrawLine(dark, l + w - 1, t, l + w - 1, t + h - 2);
      return;
    }
    case 3:
      g.DrawRectangle(Pen(color.value_or(0xFF646464), p), {l, t, w - 1, h - 1});
      return;
    case 4:
      g.DrawRectangle(Pen(color.value_or(0x78000000), p, gfx::DashStyle::kDash),
                      {l, t, w - 1, h - 1});
      return;
    default:
      g.DrawRectangle(Pen(style, p), {l, t, w - 1, h - 1});
  }
}

gfx::Path RoundedPath(const RectF& r, float d) {
  gfx::Path path;
  path.StartFigure();
  path.AddArc(r.left, r.top, d, d, 180, 90);
  path.AddArc(r.left + r.width - d - 1, r.top, d, d, 270, 90);
  path.AddArc(r.left + r.width - d - 1, r.top + r.height - d - 1, d, d, 0, 90);
  path.AddArc(r.left, r.top + r.height - d - 1, d, d, 90, 90);
  path.CloseFigure();
  return path;
}

void DrawRounded(gfx::Graphics& g, const RectF& r, float d, gfx::Argb color, gfx::DashStyle dash,
                 float width) {
  g.DrawPath(Pen(color, width, dash), RoundedPath(r, d));
}

void GradientBand(gfx::Graphics& g, const RectF& r, gfx::Argb start, gfx::Argb end, int direction) {
  Brush brush = Brush::Gradient(
      r, start, end,
      direction == 0 ? gfx::LinearGradientMode::kHorizontal : gfx::LinearGradientMode::kVertical,
      gfx::WrapMode::kTileFlipXY);
  g.FillRectangle(brush, {r.left, r.top, r.width - 1, r.height - 1});
}

void EdgeFade(gfx::Graphics& g, RectF r, uint32_t color, float depth, Edges edges, float k) {
  r.left += k;
  r.top += k;
  // No band is deeper than half its side, so opposite bands never overlap.
  const float hd = std::min(depth, r.width / 2);
  const float vd = std::min(depth, r.height / 2);
  const gfx::Argb solid = Argb(color, 255), clear = Argb(color, 0);
  if (edges.top) GradientBand(g, {r.left - k, r.top - k, r.width, vd}, solid, clear, 1);
  if (edges.left) GradientBand(g, {r.left - k, r.top - k, hd, r.height}, solid, clear, 0);
  if (edges.bottom)
    GradientBand(g, {r.left, r.top + r.height - vd, r.width, vd + 1}, clear, solid, 1);
  if (edges.right)
    GradientBand(g, {r.left + r.width - hd, r.top, hd + 1, r.height}, clear, solid, 0);
}

void DrawShadow(gfx::Graphics& g, const RectF& rect, bool rounded, uint32_t color) {
  const float corners_rounded[] = {10, 12, 15, 18};
  const float corners_square[] = {1, 4, 7, 11};
  const int alphas[] = {45, 25, 10, 5};
  RectF r = rect;
  for (int i = 0; i < 4; ++i) {
    DrawRounded(g, r, rounded ? corners_rounded[i] : corners_square[i], Argb(color, alphas[i]));
    r = {r.left - 1, r.top - 1, r.width + 2, r.height + 2};
  }
}

gfx::Region RoundRectRegion(int width, int height, int n, int corner, bool rounded) {
  const float x0 = float(n), y0 = float(n), x1 = float(width - n + 1), y1 = float(height - n + 1);
  if (x1 <= x0 || y1 <= y0) return {};
  const float c = rounded ? float(corner) : 0;
  if (c <= 0) return gfx::Region(RectF{x0, y0, x1 - x0, y1 - y0});
  gfx::Path path;
  path.StartFigure();
  path.AddArc(x0, y0, c, c, 180, 90);
  path.AddArc(x1 - c, y0, c, c, 270, 90);
  path.AddArc(x1 - c, y1 - c, c, c, 0, 90);
  path.AddArc(x0, y1 - c, c, c, 90, 90);
  path.CloseFigure();
  return gfx::PathRegion(path);
}

void ClipToRect(gfx::Graphics& g, const RectF& r, int combine) {
  g.SetClip(r, combine == 1 ? gfx::CombineMode::kIntersect : gfx::CombineMode::kReplace);
}

void ClipToRegion(gfx::Graphics& g, const gfx::Region& region, int combine) {
  g.SetClip(region, combine == 1 ? gfx::CombineMode::kIntersect : gfx::CombineMode::kReplace);
}

void DrawImageAlpha(gfx::Graphics& g, const gfx::Bitmap& image, const RectF& r, int opacity) {
  g.DrawImage(image, r, static_cast<float>(opacity) / 255.0f);
}

void DrawImageAt(gfx::Graphics& g, const gfx::Bitmap& image, const RectF& r, bool centre) {
  float x = r.left, y = r.top;
  if (centre) {
    x += std::round((r.width - float(image.Width())) / 2);
    y += std::round((r.height - float(image.Height())) / 2);
  }
  g.DrawImage(image, x, y);
}

void DrawNineGrid(gfx::Graphics& g, const gfx::Bitmap& image, const RectF& d, const RectF& grid) {
  const float iw = float(image.Width()), ih = float(image.Height());
  if (grid.width <= 0 || grid.height <= 0) {
    g.DrawImage(image, d.left, d.top);
    return;
  }
  // Source columns and rows of the nine parts, and where they go.
  const float sx[] = {0, grid.left, grid.right(), iw};
  const float sy[] = {0, grid.top, grid.bottom(), ih};
  const float right = iw - grid.right(), bottom = ih - grid.bottom();
  const float dx[] = {d.left, d.left + grid.left, d.right() - right, d.right()};
  const float dy[] = {d.top, d.top + grid.top, d.bottom() - bottom, d.bottom()};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      RectF src{sx[col], sy[row], sx[col + 1] - sx[col], sy[row + 1] - sy[row]};
      RectF dst{dx[col], dy[row], dx[col + 1] - dx[col], dy[row + 1] - dy[row]};
      if (src.width > 0 && src.height > 0 && dst.width > 0 && dst.height > 0) {
        g.DrawImage(image, dst, src);
      }
    }
  }
}

uint32_t AverageColor(const gfx::Bitmap& image) {
  if (image.IsNull()) return 0;
  // Premultiplied pixels are the picture laid over black.
  const uint8_t* data = image.Data();
  const int w = image.Width(), h = image.Height();
  uint64_t r = 0, g = 0, b = 0;
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + y * image.Stride());
    for (int x = 0; x < w; ++x) {
      r += (row[x] >> 16) & 0xFF;
      g += (row[x] >> 8) & 0xFF;
      b += row[x] & 0xFF;
    }
  }
  const uint64_t n = static_cast<uint64_t>(w) * static_cast<uint64_t>(h);
  return static_cast<uint32_t>((b / n) << 16 | (g / n) << 8 | (r / n));
}

}  // namespace lw
