#include "ui/core/redraw_queue.h"

#include "ui/core/ui_host.h"

namespace lw {

void RedrawQueue::Bind(ws::Hwnd window, UiHost* host, gfx::Graphics* graphics) {
  window_ = window;
  host_ = host;
  graphics_ = graphics;
}

void RedrawQueue::Clear() {
  entries_.clear();
  busy_ = false;
}

void RedrawQueue::Add(const RectF& rect, int mode) {
  if (!host_) return;
  if (mode == 1) {
    host_->RedrawRect(rect, true);
    return;
  }
  if (mode == 2) {
    entries_.push_front(rect);
  } else {
    entries_.push_back(rect);
  }
  if (!busy_) Flush();
}

void RedrawQueue::Flush() {
  if (!host_) return;
  busy_ = true;
  while (!entries_.empty()) {
    RectF r = entries_.front();
    entries_.pop_front();
    host_->RedrawRect(r, !host_->Layered());
  }
  if (host_->Layered() && !host_->Busy()) host_->Present();
  busy_ = false;
}

}  // namespace lw
