#include "ui/core/ui_caption_button.h"

#include "ui/core/toolkit.h"
#include "ui/core/ui_host.h"

namespace lw {

UiCaptionButton::~UiCaptionButton() {
  Destroy();
}

RectF UiCaptionButton::GlyphRect(int kind, int state, bool zoomed) {
  int width = 28, normal = 0;
  switch (kind) {
    case frame::kClose:
      width = 39;
      normal = 0;
      break;
    case frame::kMaximize:
      normal = zoomed ? 207 : 120;
      break;
    case frame::kMinimize:
      normal = 294;
      break;
    case 32:
      normal = 381;
      break;
    case 64:
      normal = 468;
      break;
    case 128:
      normal = 555;
      break;
    default:  // 256
      normal = 642;
  }
  int x = normal + state * (width + 1);
  return {float(x), 2, float(width), 19};
}

ControlHandle UiCaptionButton::Create(ws::Hwnd window, int left, int top, int width, int height,
                                      int kind, std::optional<int> visible) {
  kind_ = kind;
  last_state_ = -1;
  return UiControl::Create(window, {float(left), float(top), float(width), float(height)},
                           kind::kCaptionButton, visible, false, 0, 0, 0, 0);
}

void UiCaptionButton::Paint(int state, bool force) {
  if (state == last_state_ && !force) return;
  PaintContext pc;
  if (!BeginPaint(pc)) return;
  bool zoomed = ws::IsZoomed(HostWindow());
  const gfx::Bitmap& sprite = ButtonSprite();
  if (!sprite.IsNull()) {
    pc.graphics->DrawImage(sprite, pc.paint_rect, GlyphRect(kind_, state, zoomed));
  }
  EndPaint(pc);
  last_state_ = state;
}

std::optional<ws::LResult> UiCaptionButton::HandleEvent(uint32_t code, ws::WParam, ws::LParam) {
  switch (code) {
    case ev::kDestroyed:
      kind_ = 0;
      last_state_ = -1;
      return -1;
    case ev::kRedraw:
      Paint(0, true);
      return -1;
    case ws::WM_LBUTTONDOWN:
      Paint(2);
      return -1;
    case ws::WM_LBUTTONUP:
      Paint(1);
      return -1;
    case ev::kMouseEnter:
      Paint(1);
      return -1;
    case ev::kMouseLeave:
      Paint(0);
      return -1;
    case ev::kClick: {
      if (CurrentDisabled()) return -1;
      ws::Hwnd w = HostWindow();
      if (kind_ == frame::kClose) {
        ws::PostMessage(w, ws::WM_CLOSE, 0, 0);
      } else if (kind_ == frame::kMaximize) {
        ws::PostMessage(w, ws::WM_SYSCOMMAND, ws::IsZoomed(w) ? ws::SC_RESTORE : ws::SC_MAXIMIZE,
                        0);
      } else if (kind_ == frame::kMinimize && !ws::IsIconic(w)) {
        ws::PostMessage(w, ws::WM_SYSCOMMAND, ws::SC_MINIMIZE, 0);
      }
      return -1;
    }
    case ev::kCaptureQuery:
      return 0;
    case ev::kMoved:
      if (kind_ == frame::kMaximize) Paint(0, true);
      return -1;
    default:
      return -1;
  }
}

}  // namespace lw
