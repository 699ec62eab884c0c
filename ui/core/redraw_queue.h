// The rectangles of a host waiting to be recomposed, and their flush.
#pragma once

#include <deque>

#include "ui/core/geometry.h"
#include "ui/core/gfx/graphics.h"
#include "ui/core/window/messages.h"

namespace lw {

class UiHost;

class RedrawQueue {
 public:
  void Bind(ws::Hwnd window, UiHost* host, gfx::Graphics* graphics);
  void Clear();
  // Mode 0 appends, 2 puts the rectangle first, 1 redraws and presents it at once. Then, unless
  // a flush runs already, flushes.
  void Add(const RectF& rect, int mode);
  bool IsIdle() const { return !busy_; }
  // Redraws the rectangles in order (a rectangle added meanwhile is drawn by this flush too);
  // a layered window is then presented once, as a whole.
  void Flush();
  size_t Pending() const { return entries_.size(); }

 private:
  ws::Hwnd window_ = 0;
  UiHost* host_ = nullptr;
  gfx::Graphics* graphics_ = nullptr;
  std::deque<RectF> entries_;
  bool busy_ = false;
};

}  // namespace lw
