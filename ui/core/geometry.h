// Rectangles and points of the toolkit.
#pragma once

namespace lw {

// A rectangle in pixels: left, top, width, height (the toolkit's rectangle).
struct RectF {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;

  float right() const { return left + width; }
  float bottom() const { return top + height; }
  bool operator==(const RectF&) const = default;
};

// A rectangle of whole pixels: left, top, right, bottom (the system's rectangle).
struct RectI {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const RectI&) const = default;
};

struct PointF {
  float x = 0;
  float y = 0;
  bool operator==(const PointF&) const = default;
};

}  // namespace lw
