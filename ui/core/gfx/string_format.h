// How a string is laid out in its rectangle: wrapping, alignment, trimming, hot-key prefix,
// tab stops and the character ranges to measure.
#pragma once

#include <utility>
#include <vector>

#include "ui/core/gfx/gfx_types.h"

namespace lw::gfx {

struct StringFormat {
  int flags = 0;                                            // StringFormatFlags
  StringAlignment alignment = StringAlignment::kNear;       // horizontal
  StringAlignment line_alignment = StringAlignment::kNear;  // vertical
  StringTrimming trimming = StringTrimming::kCharacter;
  HotkeyPrefix hotkey_prefix = HotkeyPrefix::kNone;
  // Tab stops: the first at first_tab_offset + tab_stops[0], each next one a further
  // tab_stops[i] on; past the last, the last distance repeats.
  float first_tab_offset = 0;
  std::vector<float> tab_stops;
  // Ranges (first UTF-16 unit, length) measured by MeasureCharacterRanges.
  std::vector<std::pair<int, int>> ranges;
};

}  // namespace lw::gfx
