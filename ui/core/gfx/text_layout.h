// Laying a string out with Pango as a string format asks (used by Graphics).
#pragma once

#include <pango/pangocairo.h>

#include <string>
#include <string_view>
#include <vector>

#include "ui/core/geometry.h"
#include "ui/core/gfx/font.h"
#include "ui/core/gfx/string_format.h"

namespace lw::gfx::internal {

class TextLayout {
 public:
  TextLayout(cairo_t* cr, std::u16string_view text, const Font& font, const RectF& layout,
             const StringFormat& format, TextRenderingHint hint);
  ~TextLayout();
  TextLayout(const TextLayout&) = delete;
  TextLayout& operator=(const TextLayout&) = delete;

  PangoLayout* layout() const { return layout_; }
  // Where the layout's top-left corner goes on the graphics.
  double x() const { return x_; }
  double y() const { return y_; }
  // The rectangle drawing is clipped to, when clips() is true.
  bool clips() const { return clips_; }
  const RectF& clip_rect() const { return clip_rect_; }
  // The laid-out text's box on the graphics.
  RectF Box() const;
  // The rectangles, one per visual row, of UTF-16 units [first, first + length).
  std::vector<RectF> RangeRows(int first, int length) const;
  bool empty() const { return utf8_.empty(); }

 private:
  int ByteOf(int unit) const;

  PangoLayout* layout_ = nullptr;
  double x_ = 0;
  double y_ = 0;
  bool clips_ = false;
  RectF clip_rect_;
  std::string utf8_;
  std::vector<int> byte_of_unit_;  // UTF-16 index to UTF-8 byte offset, one past the end too
  int visible_lines_ = -1;         // with a line limit: how many lines are shown
  bool measure_trailing_spaces_ = false;
};

}  // namespace lw::gfx::internal
