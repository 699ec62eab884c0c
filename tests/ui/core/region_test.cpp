#include "ui/core/gfx/region.h"

#include <gtest/gtest.h>

#include "ui/core/gfx/graphics.h"

namespace lw::gfx {
namespace {

using Rects = std::vector<RectF>;

TEST(Region, UnionMergesIntoBands) {
  Region r(RectF{0, 0, 10, 10});
  r.Union(Region(RectF{5, 5, 10, 10}));
  EXPECT_EQ(r.Scans(), (Rects{{0, 0, 10, 5}, {0, 5, 15, 5}, {5, 10, 10, 5}}));
  EXPECT_EQ(r.Bounds(), (RectF{0, 0, 15, 15}));
  // Side by side rectangles of one band become one span.
  Region row = Region::FromRects({{0, 0, 5, 2}, {5, 0, 5, 2}});
  EXPECT_EQ(row.Scans(), (Rects{{0, 0, 10, 2}}));
}

TEST(Region, IntersectExcludeAndXor) {
  Region a(RectF{0, 0, 10, 10});
  Region i = a;
  i.Intersect(Region(RectF{5, -5, 10, 10}));
  EXPECT_EQ(i.Scans(), (Rects{{5, 0, 5, 5}}));
  Region hole = a;
  hole.Exclude(Region(RectF{3, 3, 4, 4}));
  EXPECT_EQ(hole.Scans(), (Rects{{0, 0, 10, 3}, {0, 3, 3, 4}, {7, 3, 3, 4}, {0, 7, 10, 3}}));
  EXPECT_FALSE(hole.Contains(5, 5));
  EXPECT_TRUE(hole.Contains(1, 5));
  Region x = a;
  x.Xor(a);
  EXPECT_TRUE(x.IsEmpty());
  EXPECT_EQ(x.Bounds(), RectF{});
}

TEST(Region, FractionalRectanglesStayExact) {
  Region r(RectF{0.5f, 1.25f, 2.5f, 3});
  r.Translate(1, 1);
  EXPECT_EQ(r.Scans(), (Rects{{1.5f, 2.25f, 2.5f, 3}}));
}

TEST(Region, FromAPath) {
  Path p;
  p.AddRectangle({2, 2, 4, 3});
  EXPECT_EQ(PathRegion(p).Scans(), (Rects{{2, 2, 4, 3}}));
}

}  // namespace
}  // namespace lw::gfx
