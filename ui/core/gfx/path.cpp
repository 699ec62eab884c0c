#include "ui/core/gfx/path.h"

#include <algorithm>
#include <cmath>

namespace lw::gfx {

void Path::AddArc(float x, float y, float width, float height, float start, float sweep) {
  items_.push_back({Item::kArc, x, y, width, height, start, sweep});
}

void Path::AddLine(float x1, float y1, float x2, float y2) {
  items_.push_back({Item::kLine, x1, y1, x2, y2, 0, 0});
}

void Path::AddRectangle(const RectF& r) {
  StartFigure();
  AddLine(r.left, r.top, r.right(), r.top);
  AddLine(r.right(), r.top, r.right(), r.bottom());
  AddLine(r.right(), r.bottom(), r.left, r.bottom());
  CloseFigure();
}

void Path::AddPolygon(const std::vector<PointF>& points) {
  if (points.size() < 2) return;
  StartFigure();
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    AddLine(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
  }
  CloseFigure();
}

void Path::StartFigure() {
  items_.push_back({Item::kStart, 0, 0, 0, 0, 0, 0});
}
void Path::CloseFigure() {
  items_.push_back({Item::kClose, 0, 0, 0, 0, 0, 0});
}

RectF Path::Bounds() const {
  bool any = false;
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  auto add = [&](float x, float y) {
    if (!any) {
      x0 = x1 = x;
      y0 = y1 = y;
      any = true;
    }
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
  };
  for (const Item& i : items_) {
    if (i.kind == Item::kLine) {
      add(i.a, i.b);
      add(i.c, i.d);
    } else if (i.kind == Item::kArc) {
      // Sample the arc: exact enough for bounds.
      for (int k = 0; k <= 16; ++k) {
        double t = (i.e + i.f * k / 16.0) * M_PI / 180.0;
        add(static_cast<float>(i.a + i.c / 2 + i.c / 2 * std::cos(t)),
            static_cast<float>(i.b + i.d / 2 + i.d / 2 * std::sin(t)));
      }
    }
  }
  return any ? RectF{x0, y0, x1 - x0, y1 - y0} : RectF{};
}

}  // namespace lw::gfx
