// An area of the plane made of rectangles, kept as horizontal bands of spans (like the
// system's regions, but in fractional pixels).
#pragma once

#include <utility>
#include <vector>

#include "ui/core/geometry.h"

namespace lw::gfx {

class Region {
 public:
  Region() = default;  // empty
  explicit Region(const RectF& rect);
  static Region FromRects(const std::vector<RectF>& rects);
  // Rows of text, top to bottom, each kept as a band of its own even where neighbouring rows
  // have the same extent: the region's scans are then one rectangle per row.
  static Region FromRows(const std::vector<RectF>& rows);

  bool IsEmpty() const { return bands_.empty(); }
  // The smallest rectangle holding the region; all zero when empty.
  RectF Bounds() const;
  // The region's rectangles, band by band from the top, left to right within a band.
  std::vector<RectF> Scans() const;
  bool Contains(float x, float y) const;

  void Union(const Region& other);
  void Intersect(const Region& other);
  void Exclude(const Region& other);
  void Xor(const Region& other);
  void Translate(float dx, float dy);

  bool operator==(const Region& other) const;

 private:
  using Spans = std::vector<std::pair<float, float>>;
  struct Band {
    float top;
    float bottom;
    Spans spans;
  };
  enum class Op { kUnion, kIntersect, kExclude, kXor };
  static Region Combine(const Region& a, const Region& b, Op op);
  static Spans CombineSpans(const Spans& a, const Spans& b, Op op);
  const Spans* SpansAt(float y0, float y1) const;

  std::vector<Band> bands_;
};

}  // namespace lw::gfx
