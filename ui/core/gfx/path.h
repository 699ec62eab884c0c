// A path of figures made of lines and elliptic arcs, filled or outlined by a graphics.
#pragma once

#include <vector>

#include "ui/core/geometry.h"

namespace lw::gfx {

class Path {
 public:
  // An arc of the ellipse inside (x, y, w, h), from `start` degrees over `sweep` degrees,
  // clockwise on screen (y grows downwards); joined by a line to what came before in the
  // figure.
  void AddArc(float x, float y, float width, float height, float start, float sweep);
  void AddLine(float x1, float y1, float x2, float y2);
  void AddRectangle(const RectF& rect);
  void AddPolygon(const std::vector<PointF>& points);
  void StartFigure();
  void CloseFigure();

  bool IsEmpty() const { return items_.empty(); }
  RectF Bounds() const;

  struct Item {
    enum Kind { kArc, kLine, kClose, kStart } kind;
    float a, b, c, d, e, f;
  };
  const std::vector<Item>& Items() const { return items_; }

 private:
  std::vector<Item> items_;
};

}  // namespace lw::gfx
