// Drawing on a bitmap: fills, lines, paths, images and text, with clipping and the quality
// settings the toolkit sets.
//
// Pixel conventions: a fill covers [left, left + width) exactly. A line or outline of odd
// whole-pixel width drawn at whole coordinates covers the pixels at those coordinates (the
// stroke is centred on the pixel, not on its edge), so an outline of (0, 0, w − 1, h − 1)
// runs along the outermost pixels of a w × h bitmap.
#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "ui/core/geometry.h"
#include "ui/core/gfx/bitmap.h"
#include "ui/core/gfx/brush.h"
#include "ui/core/gfx/font.h"
#include "ui/core/gfx/path.h"
#include "ui/core/gfx/region.h"
#include "ui/core/gfx/string_format.h"

namespace lw::gfx {

class Graphics {
 public:
  // Draws into `target`, which must stay where it is while the graphics exists.
  explicit Graphics(Bitmap& target);
  ~Graphics();
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  Bitmap& Target() { return target_; }
  int Width() const { return target_.Width(); }
  int Height() const { return target_.Height(); }

  void SetSmoothingMode(SmoothingMode mode);
  SmoothingMode GetSmoothingMode() const { return smoothing_; }
  void SetTextRenderingHint(TextRenderingHint hint) { text_hint_ = hint; }
  TextRenderingHint GetTextRenderingHint() const { return text_hint_; }
  void SetInterpolationMode(InterpolationMode mode) { interpolation_ = mode; }
  void SetCompositingQuality(int quality) { compositing_quality_ = quality; }
  void SetCompositingMode(CompositingMode mode);

  // Sets every pixel inside the clip to `color` (not blended).
  void Clear(Argb color);
  void FillRectangle(const Brush& brush, const RectF& rect);
  void DrawRectangle(const Pen& pen, const RectF& rect);
  void DrawLine(const Pen& pen, float x1, float y1, float x2, float y2);
  void FillPolygon(const Brush& brush, const std::vector<PointF>& points);
  void DrawPolygon(const Pen& pen, const std::vector<PointF>& points);
  void FillPath(const Brush& brush, const Path& path);
  void DrawPath(const Pen& pen, const Path& path);

  // The whole image stretched into `dest`, at an opacity from 0 to 1.
  void DrawImage(const Bitmap& image, const RectF& dest, float opacity = 1.0f);
  // The `src` part of the image (image pixels) stretched into `dest`.
  void DrawImage(const Bitmap& image, const RectF& dest, const RectF& src, float opacity = 1.0f);
  // The image in its natural size with its top-left corner at (x, y).
  void DrawImage(const Bitmap& image, float x, float y) {
    DrawImage(image, RectF{x, y, float(image.Width()), float(image.Height())});
  }

  // Text laid out in `layout` (a width or height of 0 is unbounded).
  void DrawString(std::u16string_view text, const Font& font, const RectF& layout,
                  const StringFormat& format, const Brush& brush);
  // The box the text takes when laid out in `layout`.
  RectF MeasureString(std::u16string_view text, const Font& font, const RectF& layout,
                      const StringFormat& format);
  // One region for each of the format's character ranges, made of one rectangle per visual
  // row the range covers.
  std::vector<Region> MeasureCharacterRanges(std::u16string_view text, const Font& font,
                                             const RectF& layout, const StringFormat& format);

  void SetClip(const RectF& rect, CombineMode mode = CombineMode::kReplace);
  void SetClip(const Path& path, CombineMode mode = CombineMode::kReplace);
  void SetClip(const Region& region, CombineMode mode = CombineMode::kReplace);
  void ResetClip();
  // The clip as it stands, to be put back later.
  struct ClipState {
    std::optional<Region> region;
    std::vector<Path> paths;
  };
  ClipState GetClip() const { return {clip_region_, clip_paths_}; }
  void SetClip(const ClipState& state);
  // The bounds of what the clip lets through, within the bitmap.
  RectF VisibleClipBounds() const;
  bool IsClipped() const { return clip_region_.has_value() || !clip_paths_.empty(); }

  // The drawing layer's own context (a cairo_t*).
  void* NativeContext() const { return cr_; }

 private:
  void ApplyClip();
  void SetSource(const Brush& brush);
  void Stroke(const Pen& pen);
  Region Whole() const;

  Bitmap& target_;
  void* cr_ = nullptr;
  SmoothingMode smoothing_ = SmoothingMode::kNone;
  TextRenderingHint text_hint_ = TextRenderingHint::kSystemDefault;
  InterpolationMode interpolation_ = InterpolationMode::kBilinear;
  CompositingMode compositing_ = CompositingMode::kSourceOver;
  int compositing_quality_ = 0;
  std::optional<Region> clip_region_;  // none: no rectangular limit
  std::vector<Path> clip_paths_;       // each further intersects the clip
};

// The pixels a path fills (even-odd, without anti-aliasing), as a region.
Region PathRegion(const Path& path);

// Appends `path` to a cairo context's current path (for the layer's own use).
void AppendPath(void* cairo_context, const Path& path);

}  // namespace lw::gfx
