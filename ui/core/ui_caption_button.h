// A caption button of a host (close, maximize or restore, minimize, or one of four buttons of
// the application's own), drawn from the caption-button strip.
#pragma once

#include "ui/controls/ui_control.h"

namespace lw {

class UiCaptionButton : public UiControl {
 public:
  ~UiCaptionButton() override;

  std::optional<ws::LResult> HandleEvent(uint32_t code, ws::WParam w, ws::LParam l) override;
  void Paint(int state, bool force = false);
  ControlHandle Create(ws::Hwnd window, int left, int top, int width, int height, int kind,
                       std::optional<int> visible = std::nullopt);
  int Kind() const { return kind_; }
  int State() const { return last_state_; }

  // Where a state's glyph lies in the strip: (x, 2, width, 19). Kind 8 shows the restore
  // glyph while the window is zoomed.
  static RectF GlyphRect(int kind, int state, bool zoomed);

 private:
  int kind_ = 0;
  int last_state_ = -1;
};

}  // namespace lw
