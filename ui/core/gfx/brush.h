// How areas are filled and lines drawn.
#pragma once

#include <vector>

#include "ui/core/geometry.h"
#include "ui/core/gfx/gfx_types.h"

namespace lw::gfx {

// A solid colour, or a linear gradient from one colour to another across a rectangle.
struct Brush {
  static Brush Solid(Argb color) {
    return Brush{false, color, color, {}, LinearGradientMode::kHorizontal, WrapMode::kTile};
  }
  static Brush Gradient(const RectF& rect, Argb from, Argb to, LinearGradientMode mode,
                        WrapMode wrap = WrapMode::kTile) {
    return Brush{true, from, to, rect, mode, wrap};
  }

  bool gradient = false;
  Argb color1 = 0;
  Argb color2 = 0;
  RectF rect;
  LinearGradientMode mode = LinearGradientMode::kHorizontal;
  WrapMode wrap = WrapMode::kTile;
};

struct Pen {
  explicit Pen(Argb c, float w = 1.0f, DashStyle d = DashStyle::kSolid)
      : color(c), width(w), dash(d) {}
  Argb color;
  float width;
  DashStyle dash;
};

}  // namespace lw::gfx
