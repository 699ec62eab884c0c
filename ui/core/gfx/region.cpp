#include "ui/core/gfx/region.h"

#include <algorithm>

namespace lw::gfx {

Region::Region(const RectF& rect) {
  if (rect.width > 0 && rect.height > 0) {
    bands_.push_back({rect.top, rect.top + rect.height, {{rect.left, rect.left + rect.width}}});
  }
}

Region Region::FromRects(const std::vector<RectF>& rects) {
  Region r;
  for (const RectF& rect : rects)
    r.Union(Region(rect));
  return r;
}

Region Region::FromRows(const std::vector<RectF>& rows) {
  Region r;
  for (const RectF& row : rows) {
    if (row.width <= 0 || row.height <= 0) continue;
    if (!r.bands_.empty() && row.top < r.bands_.back().bottom) {
      r.Union(Region(row));  // overlapping rows: merged as any region
      continue;
    }
    r.bands_.push_back({row.top, row.top + row.height, {{row.left, row.left + row.width}}});
  }
  return r;
}

RectF Region::Bounds() const {
  if (bands_.empty()) return {};
  float left = bands_.front().spans.front().first, right = bands_.front().spans.back().second;
  for (const Band& b : bands_) {
    left = std::min(left, b.spans.front().first);
    right = std::max(right, b.spans.back().second);
  }
  float top = bands_.front().top, bottom = bands_.back().bottom;
  return {left, top, right - left, bottom - top};
}

std::vector<RectF> Region::Scans() const {
  std::vector<RectF> out;
  for (const Band& b : bands_) {
    for (auto [x0, x1] : b.spans)
      out.push_back({x0, b.top, x1 - x0, b.bottom - b.top});
  }
  return out;
}

bool Region::Contains(float x, float y) const {
  for (const Band& b : bands_) {
    if (y < b.top || y >= b.bottom) continue;
    for (auto [x0, x1] : b.spans) {
      if (x >= x0 && x < x1) return true;
    }
  }
  return false;
}

void Region::Union(const Region& other) {
  *this = Combine(*this, other, Op::kUnion);
}
void Region::Intersect(const Region& other) {
  *this = Combine(*this, other, Op::kIntersect);
}
void Region::Exclude(const Region& other) {
  *this = Combine(*this, other, Op::kExclude);
}
void Region::Xor(const Region& other) {
  *this = Combine(*this, other, Op::kXor);
}

void Region::Translate(float dx, float dy) {
  for (Band& b : bands_) {
    b.top += dy;
    b.bottom += dy;
    for (auto& s : b.spans) {
      s.first += dx;
      s.second += dx;
    }
  }
}

bool Region::operator==(const Region& other) const {
  if (bands_.size() != other.bands_.size()) return false;
  for (size_t i = 0; i < bands_.size(); ++i) {
    const Band &a = bands_[i], &b = other.bands_[i];
    if (a.top != b.top || a.bottom != b.bottom || a.spans != b.spans) return false;
  }
  return true;
}

const Region::Spans* Region::SpansAt(float y0, float y1) const {
  for (const Band& b : bands_) {
    if (b.top <= y0 && b.bottom >= y1) return &b.spans;
  }
  return nullptr;
}

Region::Spans Region::CombineSpans(const Spans& a, const Spans& b, Op op) {
  std::vector<float> xs;
  for (auto [x0, x1] : a)
    xs.insert(xs.end(), {x0, x1});
  for (auto [x0, x1] : b)
    xs.insert(xs.end(), {x0, x1});
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  auto inside = [](const Spans& s, float x0, float x1) {
    for (auto [s0, s1] : s) {
      if (s0 <= x0 && s1 >= x1) return true;
    }
    return false;
  };
  Spans out;
  for (size_t i = 0; i + 1 < xs.size(); ++i) {
    float x0 = xs[i], x1 = xs[i + 1];
    bool in_a = inside(a, x0, x1), in_b = inside(b, x0, x1);
    bool in = op == Op::kUnion       ? (in_a || in_b)
              : op == Op::kIntersect ? (in_a && in_b)
              : op == Op::kExclude   ? (in_a && !in_b)
                                     : (in_a != in_b);
    if (!in) continue;
    if (!out.empty() && out.back().second == x0) {
      out.back().second = x1;
    } else {
      out.emplace_back(x0, x1);
    }
  }
  return out;
}

Region Region::Combine(const Region& a, const Region& b, Op op) {
  std::vector<float> ys;
  for (const Band& band : a.bands_)
    ys.insert(ys.end(), {band.top, band.bottom});
  for (const Band& band : b.bands_)
    ys.insert(ys.end(), {band.top, band.bottom});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  static const Spans kNone;
  Region out;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    float y0 = ys[i], y1 = ys[i + 1];
    const Spans* sa = a.SpansAt(y0, y1);
    const Spans* sb = b.SpansAt(y0, y1);
    Spans spans = CombineSpans(sa ? *sa : kNone, sb ? *sb : kNone, op);
    if (spans.empty()) continue;
    // Bands that touch and hold the same spans become one.
    if (!out.bands_.empty() && out.bands_.back().bottom == y0 && out.bands_.back().spans == spans) {
      out.bands_.back().bottom = y1;
    } else {
      out.bands_.push_back({y0, y1, std::move(spans)});
    }
  }
  return out;
}

}  // namespace lw::gfx
