#include "ui/core/gfx/graphics.h"

#include <cairo.h>

#include <cmath>

#include "ui/core/gfx/text_layout.h"

namespace lw::gfx {
namespace {

cairo_t* C(void* p) {
  return static_cast<cairo_t*>(p);
}

void SetRgba(cairo_t* cr, Argb c) {
  cairo_set_source_rgba(cr, RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0,
                        AlphaOf(c) / 255.0);
}

void AddStop(cairo_pattern_t* p, double offset, Argb c) {
  cairo_pattern_add_color_stop_rgba(p, offset, RedOf(c) / 255.0, GreenOf(c) / 255.0,
                                    BlueOf(c) / 255.0, AlphaOf(c) / 255.0);
}

bool OddWholeWidth(float width) {
  long w = std::lround(width);
  return std::fabs(width - static_cast<float>(w)) < 1e-3 && (w % 2) == 1;
}

}  // namespace

void AppendPath(void* context, const Path& path) {
  cairo_t* cr = C(context);
  for (const Path::Item& i : path.Items()) {
    switch (i.kind) {
      case Path::Item::kStart:
        cairo_new_sub_path(cr);
        break;
      case Path::Item::kClose:
        cairo_close_path(cr);
        break;
      case Path::Item::kLine:
        if (cairo_has_current_point(cr)) {
          cairo_line_to(cr, i.a, i.b);
        } else {
          cairo_move_to(cr, i.a, i.b);
        }
        cairo_line_to(cr, i.c, i.d);
        break;
      case Path::Item::kArc: {
        double start = i.e * M_PI / 180.0, end = (i.e + i.f) * M_PI / 180.0;
        if (i.c <= 0 || i.d <= 0) {
          // A flat ellipse is a line through its centre.
          double cx = i.a + i.c / 2, cy = i.b + i.d / 2;
          cairo_line_to(cr, cx + i.c / 2 * std::cos(start), cy + i.d / 2 * std::sin(start));
          cairo_line_to(cr, cx + i.c / 2 * std::cos(end), cy + i.d / 2 * std::sin(end));
          break;
        }
        cairo_save(cr);
        cairo_translate(cr, i.a + i.c / 2.0, i.b + i.d / 2.0);
        cairo_scale(cr, i.c / 2.0, i.d / 2.0);
        if (i.f >= 0) {
          cairo_arc(cr, 0, 0, 1, start, end);
        } else {
          cairo_arc_negative(cr, 0, 0, 1, start, end);
        }
        cairo_restore(cr);
        break;
      }
    }
  }
}

Graphics::Graphics(Bitmap& target) : target_(target) {
  cairo_surface_t* surface = static_cast<cairo_surface_t*>(target.NativeSurface());
  if (!surface) {
    // Drawing on no pixels draws nothing: a one-pixel surface nobody sees.
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cr_ = cairo_create(surface);
    cairo_surface_destroy(surface);
    cairo_rectangle(C(cr_), 0, 0, 0, 0);
    cairo_clip(C(cr_));
  } else {
    cr_ = cairo_create(surface);
  }
  cairo_set_line_cap(C(cr_), CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(C(cr_), CAIRO_LINE_JOIN_MITER);
  SetSmoothingMode(smoothing_);
}

Graphics::~Graphics() {
  cairo_destroy(C(cr_));
}

void Graphics::SetSmoothingMode(SmoothingMode mode) {
  smoothing_ = mode;
  bool smooth = mode == SmoothingMode::kAntiAlias || mode == SmoothingMode::kHighQuality;
  cairo_set_antialias(C(cr_), smooth ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void Graphics::SetCompositingMode(CompositingMode mode) {
  compositing_ = mode;
  cairo_set_operator(
      C(cr_), mode == CompositingMode::kSourceCopy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
}

void Graphics::SetSource(const Brush& brush) {
  cairo_t* cr = C(cr_);
  if (!brush.gradient) {
    SetRgba(cr, brush.color1);
    return;
  }
  const RectF& r = brush.rect;
  double x0 = r.left, y0 = r.top, x1 = r.right(), y1 = r.top;
  switch (brush.mode) {
    case LinearGradientMode::kVertical:
      x1 = r.left;
      y1 = r.bottom();
      break;
    case LinearGradientMode::kForwardDiagonal:
      y1 = r.bottom();
      break;
    case LinearGradientMode::kBackwardDiagonal:
      x0 = r.right();
      x1 = r.left;
      y1 = r.bottom();
      break;
    default:
      break;
  }
  cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
  AddStop(p, 0, brush.color1);
  AddStop(p, 1, brush.color2);
  cairo_pattern_set_extend(p, brush.wrap == WrapMode::kClamp  ? CAIRO_EXTEND_PAD
                              : brush.wrap == WrapMode::kTile ? CAIRO_EXTEND_REPEAT
                                                              : CAIRO_EXTEND_REFLECT);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void Graphics::Clear(Argb color) {
  cairo_t* cr = C(cr_);
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  SetRgba(cr, color);
  cairo_paint(cr);
  cairo_restore(cr);
}

void Graphics::FillRectangle(const Brush& brush, const RectF& rect) {
  if (rect.width <= 0 || rect.height <= 0) return;
  cairo_t* cr = C(cr_);
  cairo_new_path(cr);
  cairo_rectangle(cr, rect.left, rect.top, rect.width, rect.height);
  SetSource(brush);
  cairo_fill(cr);
}

void Graphics::Stroke(const Pen& pen) {
  cairo_t* cr = C(cr_);
  cairo_set_line_width(cr, pen.width);
  double w = std::max(1.0f, pen.width);
  switch (pen.dash) {
    case DashStyle::kDash: {
      double d[] = {3 * w, w};
      cairo_set_dash(cr, d, 2, 0);
      break;
    }
    case DashStyle::kDot: {
      double d[] = {w, w};
      cairo_set_dash(cr, d, 2, 0);
      break;
    }
    case DashStyle::kDashDot: {
      double d[] = {3 * w, w, w, w};
      cairo_set_dash(cr, d, 4, 0);
      break;
    }
    case DashStyle::kDashDotDot: {
      double d[] = {3 * w, w, w, w, w, w};
      cairo_set_dash(cr, d, 6, 0);
      break;
    }
    default:
      cairo_set_dash(cr, nullptr, 0, 0);
  }
  SetRgba(cr, pen.color);
  // Centre odd-width strokes on pixels, so whole coordinates name whole pixels.
  bool odd = OddWholeWidth(pen.width);
  cairo_save(cr);
  cairo_path_t* path = cairo_copy_path(cr);
  cairo_new_path(cr);
  if (odd) cairo_translate(cr, 0.5, 0.5);
  cairo_append_path(cr, path);
  cairo_path_destroy(path);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void Graphics::DrawRectangle(const Pen& pen, const RectF& rect) {
  cairo_t* cr = C(cr_);
  cairo_new_path(cr);
  cairo_rectangle(cr, rect.left, rect.top, rect.width, rect.height);
  Stroke(pen);
}

void Graphics::DrawLine(const Pen& pen, float x1, float y1, float x2, float y2) {
  cairo_t* cr = C(cr_);
  cairo_new_path(cr);
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  Stroke(pen);
}

void Graphics::FillPolygon(const Brush& brush, const std::vector<PointF>& points) {
  Path path;
  path.AddPolygon(points);
  FillPath(brush, path);
}

void Graphics::DrawPolygon(const Pen& pen, const std::vector<PointF>& points) {
  Path path;
  path.AddPolygon(points);
  DrawPath(pen, path);
}

void Graphics::FillPath(const Brush& brush, const Path& path) {
  cairo_t* cr = C(cr_);
  cairo_new_path(cr);
  AppendPath(cr, path);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  SetSource(brush);
  cairo_fill(cr);
}

void Graphics::DrawPath(const Pen& pen, const Path& path) {
  cairo_t* cr = C(cr_);
  cairo_new_path(cr);
  AppendPath(cr, path);
  Stroke(pen);
}

void Graphics::DrawImage(const Bitmap& image, const RectF& dest, float opacity) {
  DrawImage(image, dest, RectF{0, 0, float(image.Width()), float(image.Height())}, opacity);
}

void Graphics::DrawImage(const Bitmap& image, const RectF& dest_in, const RectF& src_in,
                         float opacity) {
  if (image.IsNull() || dest_in.width <= 0 || dest_in.height <= 0 || src_in.width <= 0 ||
      src_in.height <= 0 || opacity <= 0) {
    return;
  }
  // A source reaching past the image takes only what the image has, and the destination
  // shrinks with it.
  RectF src = src_in, dest = dest_in;
  const float sx = dest_in.width / src_in.width, sy = dest_in.height / src_in.height;
  const float iw = float(image.Width()), ih = float(image.Height());
  if (src.left < 0) {
    dest.left -= src.left * sx;
    dest.width += src.left * sx;
    src.width += src.left;
    src.left = 0;
  }
  if (src.top < 0) {
    dest.top -= src.top * sy;
    dest.height += src.top * sy;
    src.height += src.top;
    src.top = 0;
  }
  if (src.left + src.width > iw) {
    float cut = src.left + src.width - iw;
    src.width -= cut;
    dest.width -= cut * sx;
  }
  if (src.top + src.height > ih) {
    float cut = src.top + src.height - ih;
    src.height -= cut;
    dest.height -= cut * sy;
  }
  if (src.width <= 0 || src.height <= 0 || dest.width <= 0 || dest.height <= 0) return;
  cairo_t* cr = C(cr_);
  cairo_surface_t* whole = static_cast<cairo_surface_t*>(image.NativeSurface());
  cairo_surface_flush(whole);
  // Only the source part is sampled, even when filtering looks at neighbouring pixels.
  const double sx0 = std::floor(src.left), sy0 = std::floor(src.top);
  const double sx1 = std::ceil(src.right()), sy1 = std::ceil(src.bottom());
  cairo_surface_t* part = cairo_surface_create_for_rectangle(whole, sx0, sy0, sx1 - sx0, sy1 - sy0);
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, dest.left, dest.top, dest.width, dest.height);
  cairo_clip(cr);
  cairo_translate(cr, dest.left, dest.top);
  cairo_scale(cr, dest.width / src.width, dest.height / src.height);
  cairo_set_source_surface(cr, part, sx0 - src.left, sy0 - src.top);
  cairo_surface_destroy(part);
  cairo_pattern_t* p = cairo_get_source(cr);
  cairo_pattern_set_extend(p, CAIRO_EXTEND_PAD);
  bool scaled =
      std::fabs(dest.width - src.width) > 1e-3 || std::fabs(dest.height - src.height) > 1e-3;
  cairo_filter_t filter =
      !scaled                                                    ? CAIRO_FILTER_NEAREST
      : interpolation_ == InterpolationMode::kNearestNeighbor    ? CAIRO_FILTER_NEAREST
      : interpolation_ == InterpolationMode::kHighQualityBicubic ? CAIRO_FILTER_BEST
                                                                 : CAIRO_FILTER_GOOD;
  // Unscaled at whole pixels the pixels are copied as they are.
  if (!scaled && (std::fabs(dest.left - std::round(dest.left)) > 1e-3 ||
                  std::fabs(dest.top - std::round(dest.top)) > 1e-3)) {
    filter = CAIRO_FILTER_GOOD;
  }
  cairo_pattern_set_filter(p, filter);
  if (opacity >= 1.0f) {
    cairo_paint(cr);
  } else {
    cairo_paint_with_alpha(cr, opacity);
  }
  cairo_restore(cr);
}

void Graphics::DrawString(std::u16string_view text, const Font& font, const RectF& layout,
                          const StringFormat& format, const Brush& brush) {
  if (text.empty()) return;
  cairo_t* cr = C(cr_);
  internal::TextLayout t(cr, text, font, layout, format, text_hint_);
  cairo_save(cr);
  if (t.clips()) {
    cairo_new_path(cr);
    const RectF& c = t.clip_rect();
    cairo_rectangle(cr, c.left, c.top, c.width, c.height);
    cairo_clip(cr);
  }
  SetSource(brush);
  cairo_move_to(cr, t.x(), t.y());
  pango_cairo_show_layout(cr, t.layout());
  cairo_new_path(cr);
  cairo_restore(cr);
}

RectF Graphics::MeasureString(std::u16string_view text, const Font& font, const RectF& layout,
                              const StringFormat& format) {
  internal::TextLayout t(C(cr_), text, font, layout, format, text_hint_);
  return t.Box();
}

std::vector<Region> Graphics::MeasureCharacterRanges(std::u16string_view text, const Font& font,
                                                     const RectF& layout,
                                                     const StringFormat& format) {
  internal::TextLayout t(C(cr_), text, font, layout, format, text_hint_);
  std::vector<Region> regions;
  for (auto [first, length] : format.ranges)
    regions.push_back(Region::FromRows(t.RangeRows(first, length)));
  return regions;
}

Region Graphics::Whole() const {
  return Region(
      RectF{0, 0, float(std::max(1, target_.Width())), float(std::max(1, target_.Height()))});
}

Region PathRegion(const Path& path) {
  // Rasterise the path without anti-aliasing and collect its row spans.
  RectF b = path.Bounds();
  int x0 = static_cast<int>(std::floor(b.left)), y0 = static_cast<int>(std::floor(b.top));
  int w = static_cast<int>(std::ceil(b.right())) - x0 + 1;
  int h = static_cast<int>(std::ceil(b.bottom())) - y0 + 1;
  if (w <= 0 || h <= 0) return {};
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
  cairo_t* cr = cairo_create(mask);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_translate(cr, -x0, -y0);
  AppendPath(cr, path);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_fill(cr);
  cairo_destroy(cr);
  cairo_surface_flush(mask);
  const uint8_t* data = cairo_image_surface_get_data(mask);
  int stride = cairo_image_surface_get_stride(mask);
  std::vector<RectF> rects;
  for (int y = 0; y < h; ++y) {
    int x = 0;
    while (x < w) {
      while (x < w && data[y * stride + x] < 128)
        ++x;
      int start = x;
      while (x < w && data[y * stride + x] >= 128)
        ++x;
      if (x > start) rects.push_back({float(x0 + start), float(y0 + y), float(x - start), 1.0f});
    }
  }
  cairo_surface_destroy(mask);
  return Region::FromRects(rects);
}

void Graphics::SetClip(const RectF& rect, CombineMode mode) {
  SetClip(Region(rect), mode);
}

void Graphics::SetClip(const Region& region, CombineMode mode) {
  switch (mode) {
    case CombineMode::kReplace:
      clip_region_ = region;
      clip_paths_.clear();
      break;
    case CombineMode::kIntersect:
      if (clip_region_) {
        clip_region_->Intersect(region);
      } else {
        clip_region_ = region;
      }
      break;
    default: {
      // Union, xor and exclude work on the clip as a region.
      Region current = clip_region_ ? *clip_region_ : Whole();
      for (const Path& p : clip_paths_)
        current.Intersect(PathRegion(p));
      clip_paths_.clear();
      if (mode == CombineMode::kUnion) current.Union(region);
      if (mode == CombineMode::kXor) current.Xor(region);
      if (mode == CombineMode::kExclude) current.Exclude(region);
      clip_region_ = current;
    }
  }
  ApplyClip();
}

void Graphics::SetClip(const Path& path, CombineMode mode) {
  if (mode == CombineMode::kReplace) {
    clip_region_.reset();
    clip_paths_ = {path};
    ApplyClip();
  } else if (mode == CombineMode::kIntersect) {
    // Kept as a path, so the clip's edge stays smooth.
    clip_paths_.push_back(path);
    ApplyClip();
  } else {
    SetClip(PathRegion(path), mode);
  }
}

void Graphics::SetClip(const ClipState& state) {
  clip_region_ = state.region;
  clip_paths_ = state.paths;
  ApplyClip();
}

void Graphics::ResetClip() {
  clip_region_.reset();
  clip_paths_.clear();
  cairo_reset_clip(C(cr_));
}

void Graphics::ApplyClip() {
  cairo_t* cr = C(cr_);
  cairo_reset_clip(cr);
  cairo_new_path(cr);
  if (clip_region_) {
    for (const RectF& r : clip_region_->Scans())
      cairo_rectangle(cr, r.left, r.top, r.width, r.height);
    if (clip_region_->IsEmpty()) cairo_rectangle(cr, 0, 0, 0, 0);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_clip(cr);
  }
  for (const Path& p : clip_paths_) {
    AppendPath(cr, p);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
  }
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

RectF Graphics::VisibleClipBounds() const {
  Region visible = Whole();
  if (clip_region_) visible.Intersect(*clip_region_);
  for (const Path& p : clip_paths_)
    visible.Intersect(Region(p.Bounds()));
  return visible.Bounds();
}

}  // namespace lw::gfx
