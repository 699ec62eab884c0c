// The drawing helpers every host and control shares: colours, rectangle arithmetic, frames,
// rounded paths and regions, gradient bands, edge fades, shadows, clipping and images.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include "ui/core/geometry.h"
#include "ui/core/gfx/graphics.h"
#include "ui/core/gfx/image.h"

namespace lw {

// A colour value 0x00BBGGRR with an alpha made into 0xAARRGGBB. An alpha of 255, or none,
// gives 254: a colour made here is never fully opaque.
gfx::Argb Argb(uint32_t color, std::optional<int> alpha = std::nullopt);

RectF MakeRect(int left, int top, int width, int height);
inline RectF CopyRect(const RectF& r) {
  return r;
}
// left, top, left + width, top + height, each truncated.
RectI ToSystemRect(const RectF& r);
RectF FromSystemRect(const RectI& r);
void AdjustRect(float dx, float dy, float dw, float dh, RectF& r);
// left <= x < left + width and top <= y < top + height, within 1e-7.
bool PointInRect(const RectF& r, float x, float y);
bool RectsOverlap(const RectF& a, const RectF& b);

gfx::Pen MakePen(gfx::Argb color, float width = 1.0f);

// Frame styles: 0 none, 1 sunken, 2 raised, 3 flat grey, 4 dashed focus frame; any other value
// is the ARGB colour of a solid frame.
void DrawFrame(gfx::Graphics& g, const RectF& r, uint32_t style,
               std::optional<gfx::Argb> color = std::nullopt, float width = 1.0f);

// Four 90° arcs of diameter d at the corners of r (the right and bottom ones inside
// r.left + r.width − 1 and r.top + r.height − 1).
gfx::Path RoundedPath(const RectF& r, float d);
void DrawRounded(gfx::Graphics& g, const RectF& r, float d, gfx::Argb color,
                 gfx::DashStyle dash = gfx::DashStyle::kSolid, float width = 1.0f);

// Fills (left, top, width − 1, height − 1) with a gradient over r from start to end;
// direction 0 horizontal, 1 vertical.
void GradientBand(gfx::Graphics& g, const RectF& r, gfx::Argb start, gfx::Argb end,
                  int direction = 1);

struct Edges {
  bool top = false, left = false, bottom = false, right = false;
};
// Dissolves the chosen edges of r (moved by offset) into `color` (0x00BBGGRR) over bands of
// `depth` pixels (half the side when that is less).
void EdgeFade(gfx::Graphics& g, RectF r, uint32_t color, float depth, Edges edges,
              float offset = 6);

// Four fading outlines around r, the first on r itself, in `color` (0x00BBGGRR).
void DrawShadow(gfx::Graphics& g, const RectF& r, bool rounded, uint32_t color);

// The rounded rectangle from (n, n) to (width − n + 1, height − n + 1), right and bottom
// edges excluded, with corners of `corner` pixels (square without rounding).
gfx::Region RoundRectRegion(int width, int height, int n, int corner, bool rounded);

// combine: 0 replace, 1 intersect.
void ClipToRect(gfx::Graphics& g, const RectF& r, int combine);
void ClipToRegion(gfx::Graphics& g, const gfx::Region& region, int combine);
inline RectF VisibleClip(const gfx::Graphics& g) {
  return g.VisibleClipBounds();
}
inline void ResetClip(gfx::Graphics& g) {
  g.ResetClip();
}

// The whole image stretched into r at an opacity of 0-255.
void DrawImageAlpha(gfx::Graphics& g, const gfx::Bitmap& image, const RectF& r, int opacity);
// The image in its natural size at r's top-left, or centred on r (whole-pixel offsets).
void DrawImageAt(gfx::Graphics& g, const gfx::Bitmap& image, const RectF& r, bool centre);
// The image cut into nine parts by `grid` (image pixels): corners unscaled at the corners of
// `dest`, edges stretched along them, the centre stretched both ways. An empty grid draws the
// image plainly.
void DrawNineGrid(gfx::Graphics& g, const gfx::Bitmap& image, const RectF& dest, const RectF& grid);
// The average colour (0x00BBGGRR) of the image laid over black.
uint32_t AverageColor(const gfx::Bitmap& image);
inline std::pair<int, int> ImageSize(const gfx::Bitmap& image) {
  return {image.Width(), image.Height()};
}

}  // namespace lw
