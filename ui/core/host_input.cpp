// Input routing: hit testing through the control tree, presses, clicks, hover, focus, the Tab
// order, access keys, the window's own resize borders and the tooltip.
#include <cctype>

#include "ui/controls/ui_control.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/toolkit.h"
#include "ui/core/ui_caption_button.h"
#include "ui/core/ui_host.h"

namespace lw {
namespace {

UiControl* C(ControlHandle h) {
  return UiControl::FromHandle(h);
}

int KindOf(ControlHandle h) {
  UiControl* c = C(h);
  return c ? c->Kind() : 0;
}

// The hit control among `last` and its previous siblings, descending into children.
ControlHandle HitAmong(ControlHandle last, float x, float y) {
  for (ControlHandle h = last; h;) {
    UiControl* c = C(h);
    if (!c) return 0;
    if (c->CurrentVisible() == 1 && c->CurrentDisabled() == 0 &&
        PointInRect(c->CurrentRect(), x, y)) {
      ControlHandle child = HitAmong(c->LastChild(), x, y);
      return child ? child : h;
    }
    h = c->PreviousSibling();
  }
  return 0;
}

}  // namespace

ControlHandle UiHost::HitTest(float x, float y) const {
  return HitAmong(last_control_, x, y);
}

void UiHost::Call(const HostRoutines::ControlRoutine& routine, ControlHandle c, ws::WParam w,
                  ws::LParam l) {
  if (routine) routine(window_, c, w, l, KindOf(c));
}

void UiHost::ToggleMaximize() {
  ws::PostMessage(window_, ws::WM_SYSCOMMAND,
                  ws::IsZoomed(window_) ? ws::SC_RESTORE : ws::SC_MAXIMIZE, 0);
}

void UiHost::EnterControl(ControlHandle r, ControlHandle previous, ws::WParam w, ws::LParam l) {
  if (r) DispatchEvent(r, ev::kMouseEnter, w, static_cast<ws::LParam>(previous));
  Call(routines_.enter, r, w, l);
  UpdateTooltip(r);
}

void UiHost::FocusByMouse(ControlHandle r, ws::WParam w, ws::LParam l) {
  ControlHandle old = focused_;
  focused_ = r;
  focus_frame_ = 0;
  DispatchEvent(old, ev::kFocusLost, w, static_cast<ws::LParam>(r));
  Call(routines_.focus_lost, old, w, l);
  DispatchEvent(r, ev::kFocusGained, w, static_cast<ws::LParam>(old));
  Call(routines_.focus_gained, r, w, l);
}

void UiHost::OnMouse(ws::Message m, ws::WParam w, ws::LParam l) {
  if (busy_) return;
  if (OnResizeBorder(m, l)) return;
  const float x = float(ws::XOf(l)), y = float(ws::YOf(l));
  if (pressed_flag_) {
    ControlHandle p = pressed_;
    DispatchEvent(p, m, static_cast<ws::WParam>(p), l);
    if (m != ws::WM_LBUTTONUP) return;
    Call(routines_.release, p, w, l);
    ws::ReleaseCapture();
    ControlHandle r = HitTest(x, y);
    if (r == p) {
      DispatchEvent(p, ev::kClick, static_cast<ws::WParam>(p), l);
      Call(routines_.click, r, w, l);
    } else if (UiControl* pc = C(p); pc && pc->CurrentVisible() == 1) {
      DispatchEvent(p, ev::kMouseLeave, w, static_cast<ws::LParam>(r));
      Call(routines_.leave, p, w, l);
      EnterControl(r, p, w, l);
    }
    pressed_flag_ = false;
    pressed_ = 0;
    hover_ = r;
    return;
  }
  ControlHandle r = HitTest(x, y);
  if (r != hover_ && hover_) {
    UiControl* hc = C(hover_);
    if (hc && hc->CurrentVisible() == 1) {
      DispatchEvent(hover_, ev::kMouseLeave, w, static_cast<ws::LParam>(r));
      Call(routines_.leave, hover_, w, l);
    }
  }
  switch (m) {
    case ws::WM_LBUTTONDOWN: {
      if (ws::GetFocus() != window_) ws::SetFocus(window_);
      const bool double_click = w == kDoubleClickMarker;
      if (!r) {
        if (double_click) {
          if (y < 30 && (frame_flags_ & frame::kMaximize)) {
            ToggleMaximize();
            ws::SendMessage(window_, ws::WM_NCLBUTTONDOWN, ws::HTCAPTION, 0);
          }
        } else if (draggable_) {
          ws::SendMessage(window_, ws::WM_NCLBUTTONDOWN, ws::HTCAPTION, 0);
        }
        break;
      }
      ws::LResult answer = DispatchEvent(r, ev::kCaptureQuery, 0, 0);
      UiControl* rc = C(r);
      if (rc && (answer != -1 || rc->CurrentFocusable())) {
        Call(routines_.press, r, w, l);
        pressed_flag_ = true;
        pressed_ = r;
        if (rc->CurrentFocusable() && focused_ != r) FocusByMouse(r, w, l);
        if (double_click) Call(routines_.double_click, r, w, l);
        ws::SetCapture(window_);
      } else if (double_click && (frame_flags_ & frame::kTitle) &&
                 (frame_flags_ & frame::kMaximize) && title_label_ && r == title_label_->Handle()) {
        ToggleMaximize();
      }
      if (!pressed_flag_ && draggable_)
        ws::SendMessage(window_, ws::WM_NCLBUTTONDOWN, ws::HTCAPTION, 0);
      break;
    }
    case ws::WM_MOUSEMOVE:
      if (r != hover_) EnterControl(r, hover_, w, l);
      break;
    case ws::WM_RBUTTONDOWN:
      Call(routines_.right_down, r, w, l);
      break;
    case ws::WM_RBUTTONUP:
      Call(routines_.right_up, r, w, l);
      break;
    default:
      break;
  }
  if (r) DispatchEvent(r, m, w, l);
  hover_ = r;
}

void UiHost::FocusControl(ControlHandle control, bool mark) {
  UiControl* c = C(control);
  if (!c || c->CurrentDisabled() || c->CurrentVisible() != 1 || !c->CurrentFocusable() ||
      c->Kind() == kind::kCaptionButton || focused_ == control) {
    return;
  }
  ControlHandle old = focused_;
  focused_ = control;
  focus_frame_ = 0;
  // Through message 10258, so that this works from any thread.
  if (UiControl* o = C(old)) o->SendEvent(ev::kFocusLost, 0, static_cast<ws::LParam>(control));
  if (mark) focus_frame_ = control;
  if (UiControl* n = C(control)) n->SendEvent(ev::kFocusGained, 0, static_cast<ws::LParam>(old));
}

ws::LResult UiHost::OnKeyDown(ws::Message m, ws::WParam key, ws::LParam l) {
  if (focused_) {
    ws::LResult r = DispatchEvent(focused_, m, key, l);
    if (r != -1) return 0;
  }
  if (key == ws::VK_TAB) {
    // The next eligible top-level control after the focused one's top-level ancestor.
    ControlHandle start = focused_ ? focused_ : first_control_;
    for (UiControl* c = C(start); c && c->Parent();) {
      start = c->Parent();
      c = C(start);
    }
    auto next_of = [&](ControlHandle h) {
      UiControl* c = C(h);
      ControlHandle n = c ? c->NextSibling() : 0;
      return n ? n : first_control_;
    };
    if (!start) return 0;
    ControlHandle candidate = next_of(start);
    // Each top-level control is visited at most once.
    for (ControlHandle h = candidate, steps = 0; h && steps < 100000; h = next_of(h), ++steps) {
      UiControl* c = C(h);
      if (c && c->CurrentVisible() == 1 && c->CurrentFocusable() && !c->CurrentDisabled() &&
          c->Kind() != kind::kCaptionButton) {
        if (h != focused_) FocusControl(h, true);
        return 0;
      }
      if (h == start) break;
    }
    return 0;
  }
  if (key == ws::VK_RETURN || key == ws::VK_SPACE) {
    UiControl* c = C(focused_);
    if (c && c->CurrentVisible() == 1 && !c->CurrentDisabled()) {
      ControlHandle f = focused_;
      DispatchEvent(f, ev::kClick, 0, 0);
      Call(routines_.click, f, 0, 0);
    }
    return 0;
  }
  return 0;
}

bool UiHost::OnSysChar(ws::Message m, ws::WParam w, ws::LParam l) {
  DispatchEvent(focused_, m, w, l);
  auto fold = [](int c) { return c < 0x80 ? std::tolower(c) : c; };
  const std::vector<std::pair<ControlHandle, int>> keys = access_keys_;
  for (const auto& [control, key] : keys) {
    if (fold(key) != fold(static_cast<int>(w))) continue;
    UiControl* c = C(control);
    if (!c || c->CurrentVisible() != 1 || c->CurrentDisabled()) continue;
    DispatchEvent(control, ev::kClick, 0, 0);
    Call(routines_.click, control, w, l);
    return true;
  }
  return false;
}

int UiHost::SetAccessKey(ControlHandle control, int key) {
  for (auto it = access_keys_.begin(); it != access_keys_.end(); ++it) {
    if (it->first != control) continue;
    if (key) {
      it->second = key;
    } else {
      access_keys_.erase(it);
    }
    return 1;
  }
  if (key) access_keys_.emplace_back(control, key);
  return 1;
}

void UiHost::UpdateTooltip(ControlHandle control, std::optional<std::string> text) {
  UiControl* c = C(control);
  if (!c || !tooltip_) return;
  tooltip_->DeleteTool();
  std::string t = text ? *text : c->TooltipText();
  if (t.empty()) return;
  RectI r = ToSystemRect(c->CurrentRect());
  tooltip_->AddTool(r, t);
}

bool UiHost::OnResizeBorder(ws::Message m, ws::LParam l) {
  if (!resizable_ || pressed_flag_ || (m != ws::WM_MOUSEMOVE && m != ws::WM_LBUTTONDOWN) ||
      ws::IsZoomed(window_)) {
    return false;
  }
  const int x = ws::XOf(l), y = ws::YOf(l), w = width_, h = height_;
  int code = 0, cursor = 0;
  if (y < 8) {
    if (x < 10) {
      code = ws::WMSZ_TOPLEFT, cursor = kCursorSizeNwse;
    } else if (w - x < 10) {
      code = ws::WMSZ_TOPRIGHT, cursor = kCursorSizeNesw;
    } else {
      code = ws::WMSZ_TOP, cursor = kCursorSizeNs;
    }
  } else if (h - y < 10) {
    if (x < 10) {
      code = ws::WMSZ_BOTTOMLEFT, cursor = kCursorSizeNesw;
    } else if (w - x < 10) {
      code = ws::WMSZ_BOTTOMRIGHT, cursor = kCursorSizeNwse;
    } else {
      code = ws::WMSZ_BOTTOM, cursor = kCursorSizeNs;
    }
  } else if (x < 8) {
    code = ws::WMSZ_LEFT, cursor = kCursorSizeWe;
  } else if (w - x < 10) {
    code = ws::WMSZ_RIGHT, cursor = kCursorSizeWe;
  }
  if (code == 0) return false;
  ws::SetCursor(cursor);
  if (hover_) {
    DispatchEvent(hover_, ev::kMouseLeave, 0, 0);
    hover_ = 0;
  }
  if (m == ws::WM_LBUTTONDOWN) {
    ws::SendMessage(window_, ws::WM_SYSCOMMAND, ws::SC_SIZE + static_cast<ws::WParam>(code), 0);
  }
  return true;
}

}  // namespace lw
