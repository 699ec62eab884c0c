#include "ui/core/gfx/text_layout.h"

#include <algorithm>
#include <climits>

namespace lw::gfx::internal {
namespace {

constexpr double kScale = PANGO_SCALE;

// UTF-16 to UTF-8, with the byte offset at which every unit's character starts.
void ToUtf8(std::u16string_view text, std::string& utf8, std::vector<int>& byte_of_unit) {
  byte_of_unit.assign(text.size() + 1, 0);
  for (size_t i = 0; i < text.size(); ++i) {
    byte_of_unit[i] = static_cast<int>(utf8.size());
    uint32_t c = text[i];
    if ((c & 0xFC00) == 0xD800 && i + 1 < text.size() && (text[i + 1] & 0xFC00) == 0xDC00) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      byte_of_unit[i + 1] = static_cast<int>(utf8.size());
      ++i;
    } else if ((c & 0xF800) == 0xD800) {
      c = 0xFFFD;  // a lone surrogate
    }
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (c >> 18));
      utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  byte_of_unit[text.size()] = static_cast<int>(utf8.size());
}

cairo_font_options_t* FontOptions(TextRenderingHint hint) {
  cairo_font_options_t* o = cairo_font_options_create();
  switch (hint) {
    case TextRenderingHint::kSingleBitPerPixel:
    case TextRenderingHint::kSingleBitPerPixelGridFit:
      cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_NONE);
      cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_FULL);
      break;
    case TextRenderingHint::kAntiAlias:
      cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
      cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
      cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
      break;
    default:
      // Grid-fitted anti-aliased text; grey, since images carry alpha.
      cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
      cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_SLIGHT);
      cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
      break;
  }
  return o;
}

PangoAlignment ToPango(StringAlignment a) {
  return a == StringAlignment::kCenter ? PANGO_ALIGN_CENTER
         : a == StringAlignment::kFar  ? PANGO_ALIGN_RIGHT
                                       : PANGO_ALIGN_LEFT;
}

}  // namespace

TextLayout::TextLayout(cairo_t* cr, std::u16string_view text, const Font& font, const RectF& layout,
                       const StringFormat& format, TextRenderingHint hint)
    : measure_trailing_spaces_(format.flags & kMeasureTrailingSpaces) {
  // Hot-key prefix: "&" marks the next character ("&&" is a literal "&").
  std::u16string shown;
  std::vector<int> underlined;  // units of the characters that follow a single "&"
  if (format.hotkey_prefix == HotkeyPrefix::kNone) {
    shown.assign(text);
  } else {
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] != u'&') {
        shown += text[i];
      } else if (i + 1 < text.size() && text[i + 1] == u'&') {
        shown += u'&';
        ++i;
      } else if (i + 1 < text.size() && format.hotkey_prefix == HotkeyPrefix::kShow) {
        underlined.push_back(static_cast<int>(shown.size()));
      }
    }
  }
  ToUtf8(shown, utf8_, byte_of_unit_);

  layout_ = pango_cairo_create_layout(cr);
  cairo_font_options_t* options = FontOptions(hint);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout_), options);
  cairo_font_options_destroy(options);
  pango_layout_context_changed(layout_);
  pango_layout_set_font_description(layout_,
                                    static_cast<PangoFontDescription*>(font.NativeDescription()));
  pango_layout_set_text(layout_, utf8_.c_str(), static_cast<int>(utf8_.size()));

  PangoAttrList* attrs = pango_attr_list_new();
  if (font.Style() & kUnderline)
    pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (font.Style() & kStrikeout) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
  for (int unit : underlined) {
    PangoAttribute* a = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
    a->start_index = static_cast<guint>(ByteOf(unit));
    a->end_index = static_cast<guint>(ByteOf(unit + 1));
    pango_attr_list_insert(attrs, a);
  }
  pango_layout_set_attributes(layout_, attrs);
  pango_attr_list_unref(attrs);

  const double w = layout.width, h = layout.height;
  const bool wrap = w > 0 && !(format.flags & kNoWrap);
  const bool ellipsis = w > 0 && (format.trimming == StringTrimming::kEllipsisCharacter ||
                                  format.trimming == StringTrimming::kEllipsisWord ||
                                  format.trimming == StringTrimming::kEllipsisPath);
  const bool has_width = wrap || ellipsis;
  if (has_width) {
    pango_layout_set_width(layout_, static_cast<int>(w * kScale));
    pango_layout_set_alignment(layout_, ToPango(format.alignment));
  } else {
    pango_layout_set_width(layout_, -1);
  }
  if (wrap) pango_layout_set_wrap(layout_, PANGO_WRAP_WORD_CHAR);
  if (ellipsis) {
    pango_layout_set_ellipsize(layout_, format.trimming == StringTrimming::kEllipsisPath
                                            ? PANGO_ELLIPSIZE_MIDDLE
                                            : PANGO_ELLIPSIZE_END);
    if (wrap && h > 0) pango_layout_set_height(layout_, static_cast<int>(h * kScale));
  }

  if (!format.tab_stops.empty()) {
    // Pango wants absolute positions; past the last given stop the last distance repeats.
    std::vector<int> stops;
    double at = format.first_tab_offset;
    for (size_t i = 0; i < 512; ++i) {
      float step = format.tab_stops[std::min(i, format.tab_stops.size() - 1)];
      if (step <= 0) break;
      at += step;
      if (at > 32767) break;
      stops.push_back(static_cast<int>(at * kScale));
    }
    PangoTabArray* tabs = pango_tab_array_new(static_cast<int>(stops.size()), FALSE);
    for (size_t i = 0; i < stops.size(); ++i) {
      pango_tab_array_set_tab(tabs, static_cast<int>(i), PANGO_TAB_LEFT, stops[i]);
    }
    pango_layout_set_tabs(layout_, tabs);
    pango_tab_array_free(tabs);
  }

  PangoRectangle logical;
  pango_layout_get_extents(layout_, nullptr, &logical);
  double text_w = logical.width / kScale;
  double text_h = logical.height / kScale;
  if (utf8_.empty()) text_w = text_h = 0;

  // A line limit shows only the lines that fit whole.
  if ((format.flags & kLineLimit) && h > 0 && !utf8_.empty()) {
    int lines = 0;
    double shown_h = 0;
    PangoLayoutIter* it = pango_layout_get_iter(layout_);
    do {
      PangoRectangle r;
      pango_layout_iter_get_line_extents(it, nullptr, &r);
      if ((r.y + r.height) / kScale > h + 1e-3) break;
      ++lines;
      shown_h = (r.y + r.height) / kScale;
    } while (pango_layout_iter_next_line(it));
    pango_layout_iter_free(it);
    visible_lines_ = lines;
    text_h = shown_h;
  }

  x_ = layout.left;
  if (!has_width) {
    double room = w > 0 ? w : 0;
    if (format.alignment == StringAlignment::kCenter) x_ += (room - text_w) / 2;
    if (format.alignment == StringAlignment::kFar) x_ += room - text_w;
  }
  y_ = layout.top;
  if (h > 0) {
    if (format.line_alignment == StringAlignment::kCenter) y_ += (h - text_h) / 2;
    if (format.line_alignment == StringAlignment::kFar) y_ += h - text_h;
  }

  if (visible_lines_ >= 0) {
    clips_ = true;
    bool no_clip = format.flags & kNoClip;
    clip_rect_ = {no_clip ? -1e6f : layout.left, static_cast<float>(y_),
                  no_clip ? 2e6f : layout.width, static_cast<float>(text_h)};
  } else if (!(format.flags & kNoClip) && w > 0 && h > 0) {
    clips_ = true;
    clip_rect_ = layout;
  }
}

TextLayout::~TextLayout() {
  if (layout_) g_object_unref(layout_);
}

int TextLayout::ByteOf(int unit) const {
  unit = std::clamp(unit, 0, static_cast<int>(byte_of_unit_.size()) - 1);
  return byte_of_unit_[static_cast<size_t>(unit)];
}

namespace {

// Calls visit(line, extents) for each line of the layout that is shown, top to bottom.
template <typename Visit>
void ForEachShownLine(PangoLayout* layout, int visible_lines, Visit visit) {
  PangoLayoutIter* it = pango_layout_get_iter(layout);
  int line_number = 0;
  do {
    if (visible_lines >= 0 && line_number >= visible_lines) break;
    ++line_number;
    PangoRectangle extents;
    pango_layout_iter_get_line_extents(it, nullptr, &extents);
    visit(pango_layout_iter_get_line_readonly(it), extents);
  } while (pango_layout_iter_next_line(it));
  pango_layout_iter_free(it);
}

// The horizontal extent, in Pango units, of the bytes [start, end) of a line; false when they
// cover nothing.
bool LineSpan(PangoLayoutLine* line, int start, int end, int& x0, int& x1) {
  if (start >= end) return false;
  int* ranges = nullptr;
  int n = 0;
  pango_layout_line_get_x_ranges(line, start, end, &ranges, &n);
  x0 = INT_MAX;
  x1 = INT_MIN;
  for (int i = 0; i < n; ++i) {
    x0 = std::min(x0, ranges[2 * i]);
    x1 = std::max(x1, ranges[2 * i + 1]);
  }
  g_free(ranges);
  return n > 0;
}

}  // namespace

std::vector<RectF> TextLayout::RangeRows(int first, int length) const {
  std::vector<RectF> rows;
  if (length <= 0 || utf8_.empty()) return rows;
  const int b0 = ByteOf(first), b1 = ByteOf(first + length);
  ForEachShownLine(layout_, visible_lines_, [&](PangoLayoutLine* line, const PangoRectangle& r) {
    int x0 = 0, x1 = 0;
    if (!LineSpan(line, std::max(b0, line->start_index),
                  std::min(b1, line->start_index + line->length), x0, x1))
      return;
    rows.push_back({static_cast<float>(x_ + x0 / kScale), static_cast<float>(y_ + r.y / kScale),
                    static_cast<float>((x1 - x0) / kScale), static_cast<float>(r.height / kScale)});
  });
  return rows;
}

RectF TextLayout::Box() const {
  if (utf8_.empty()) return {static_cast<float>(x_), static_cast<float>(y_), 0, 0};
  // The width of each line, without its trailing spaces unless they are measured too.
  double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
  ForEachShownLine(layout_, visible_lines_, [&](PangoLayoutLine* line, const PangoRectangle& r) {
    top = std::min(top, r.y / kScale);
    bottom = std::max(bottom, (r.y + r.height) / kScale);
    int end = line->start_index + line->length;
    if (!measure_trailing_spaces_) {
      while (end > line->start_index && utf8_[static_cast<size_t>(end - 1)] == ' ')
        --end;
    }
    int x0 = 0, x1 = 0;
    if (!LineSpan(line, line->start_index, end, x0, x1)) return;
    left = std::min(left, x0 / kScale);
    right = std::max(right, x1 / kScale);
  });
  if (top > bottom) return {static_cast<float>(x_), static_cast<float>(y_), 0, 0};
  if (left > right) left = right = 0;
  return {static_cast<float>(x_ + left), static_cast<float>(y_ + top),
          static_cast<float>(right - left), static_cast<float>(bottom - top)};
}

}  // namespace lw::gfx::internal
