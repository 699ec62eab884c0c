// The host window: attaching and detaching, its surfaces, caption buttons and the window
// messages it handles itself. Painting is in host_painting.cpp, input in host_input.cpp.
#include "ui/core/ui_host.h"

#include <algorithm>
#include <mutex>
#include <set>

#include "assets/embedded.h"
#include "base/codepage.h"
#include "ui/controls/ui_control.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/toolkit.h"
#include "ui/core/ui_caption_button.h"

namespace lw {
namespace {

struct HostRegistry {
  std::mutex mutex;
  std::set<UiHost*> live;
  UiHost::DecorationMaker decoration_maker;
};
HostRegistry& Hosts() {
  static HostRegistry* r = new HostRegistry();
  return *r;
}

constexpr int kCaptionKinds[] = {
    frame::kClose, frame::kMaximize, frame::kMinimize, 32, 64, 128, 256};

}  // namespace

UiHost::UiHost() {
  std::lock_guard<std::mutex> lock(Hosts().mutex);
  Hosts().live.insert(this);
}

UiHost::~UiHost() {
  if (previous_proc_set_ && ws::IsWindow(window_)) Detach(window_);
  std::lock_guard<std::mutex> lock(Hosts().mutex);
  Hosts().live.erase(this);
}

UiHost* UiHost::FromWindow(ws::Hwnd window) {
  if (!window) return nullptr;
  auto* host = reinterpret_cast<UiHost*>(ws::GetProp(window, kHostProperty));
  if (!host) return nullptr;
  std::lock_guard<std::mutex> lock(Hosts().mutex);
  return Hosts().live.count(host) ? host : nullptr;
}

void UiHost::SetDecorationMaker(DecorationMaker maker) {
  std::lock_guard<std::mutex> lock(Hosts().mutex);
  Hosts().decoration_maker = std::move(maker);
}

const gfx::Bitmap* UiHost::BackgroundImage() const {
  if (UiHost* skin = FromWindow(skin_source_); skin && skin != this) return skin->BackgroundImage();
  return background_image_ ? &background_image_->Frame() : nullptr;
}

void UiHost::TrackBlock(void* block) {
  std::lock_guard<std::mutex> lock(blocks_mutex_);
  blocks_.insert(block);
}

bool UiHost::ReleaseBlock(void* block) {
  std::lock_guard<std::mutex> lock(blocks_mutex_);
  return blocks_.erase(block) != 0;
}

void UiHost::Forget(ControlHandle c) {
  if (pressed_ == c) {
    pressed_ = 0;
    pressed_flag_ = false;
  }
  if (focused_ == c) focused_ = 0;
  if (hover_ == c) hover_ = 0;
  if (focus_frame_ == c) focus_frame_ = 0;
}

void UiHost::CreateSurfaces() {
  graphics_.reset();
  frame_ = gfx::Bitmap(std::max(1, width_), std::max(1, height_));
  graphics_ = std::make_unique<gfx::Graphics>(frame_);
  graphics_->SetSmoothingMode(gfx::SmoothingMode::kAntiAlias);
  graphics_->SetTextRenderingHint(gfx::TextRenderingHint::kAntiAliasGridFit);
  background_ = gfx::Bitmap(std::max(1, width_), std::max(1, height_));
  // The shared scratch surface grows to the largest host.
  gfx::Bitmap& scratch = Scratch();
  if (scratch.Width() < width_ || scratch.Height() < height_) {
    scratch = gfx::Bitmap(std::max(scratch.Width(), width_), std::max(scratch.Height(), height_));
  }
}

gfx::Bitmap& UiHost::Scratch() {
  static gfx::Bitmap* scratch = new gfx::Bitmap();
  return *scratch;
}

bool UiHost::Attach(const AttachParams& p) {
  if (!p.window || !ws::IsWindow(p.window) || (previous_proc_set_ && p.window == window_))
    return false;
  if (previous_proc_set_) Detach(window_);
  window_ = p.window;
  opacity_ = p.opacity;
  placement_ = p.placement;
  edge_highlight_ = p.edge_highlight;
  corner_style_ = p.corner_style;
  uint32_t style = ws::GetStyle(window_);
  resizable_ = p.resizable.value_or((style & ws::WS_THICKFRAME) != 0);
  draggable_ = p.draggable;
  // Blur behind needs a desktop compositor service: there is none to ask here.
  blur_behind_ = p.blur_behind.value_or(false) && opacity_ != -1;
  nine_grid_ = p.nine_grid;
  skin_source_ = p.skin_source;

  int flags = p.frame_flags.value_or(frame::kDefaults);
  if (!p.frame_flags || *p.frame_flags != 0) {
    style |= ws::WS_SYSMENU;
    if (!p.frame_flags || (flags & frame::kDefaults)) {
      flags |= frame::kIcon | frame::kTitle | frame::kClose;
      if (style & ws::WS_MAXIMIZEBOX) flags |= frame::kMaximize;
      if (style & ws::WS_MINIMIZEBOX) flags |= frame::kMinimize;
    }
  }
  flags &= ~frame::kDefaults;
  frame_flags_ = flags | frame::kShadow;

  style |= ws::WS_POPUP;
  handle_ = reinterpret_cast<ControlHandle>(this);
  ws::SetProp(window_, kHostProperty, handle_);
  host_cursor_ = DefaultCursor();
  style &= ~(ws::WS_THICKFRAME | ws::WS_DLGFRAME | ws::WS_BORDER);
  if (!(frame_flags_ & frame::kMinimize)) style &= ~ws::WS_MINIMIZEBOX;
  if (!(frame_flags_ & frame::kMaximize)) style &= ~ws::WS_MAXIMIZEBOX;
  ws::SetStyle(window_, style);
  Draggable(p.draggable);

  RectI r = ws::GetWindowRect(window_);
  width_ = r.width();
  height_ = r.height();
  CreateSurfaces();
  if (opacity_ != -1) ws::SetExStyle(window_, ws::GetExStyle(window_) | ws::WS_EX_LAYERED);
  queue_.Bind(window_, this, graphics_.get());

  // The window's procedure leads to this host from now on.
  previous_proc_ = ws::SetWindowProc(window_, [this](ws::Hwnd, ws::Message m, ws::WParam w,
                                                     ws::LParam l) { return WindowProc(m, w, l); });
  previous_proc_set_ = true;

  busy_ = true;
  if (frame_flags_ & (frame::kIcon | frame::kTitle)) {
    DecorationMaker maker;
    {
      std::lock_guard<std::mutex> lock(Hosts().mutex);
      maker = Hosts().decoration_maker;
    }
    if (maker) maker(*this, frame_flags_);
  }
  caption_buttons_.clear();
  int x = width_ - 12;
  for (int kind : kCaptionKinds) {
    if (!(frame_flags_ & kind)) continue;
    int w = kind == frame::kClose ? 39 : 28;
    x -= w;
    auto button = std::make_unique<UiCaptionButton>();
    button->Create(window_, x, 7, w, 19, kind);
    caption_buttons_.push_back(std::move(button));
  }
  busy_ = false;
  if (!p.image.empty()) {
    RenderBackground(std::span<const uint8_t>(p.image), p.background_color, -1);
  } else {
    RenderBackground(std::nullopt, p.background_color, -1);
  }
  if (Layered()) Present();

  tooltip_ = std::make_unique<ws::Tooltip>(window_, DefaultFont());
  tooltip_->SetMaxWidth(1024);
  if (resizable_) ws::SetStyle(window_, ws::GetStyle(window_) | ws::WS_THICKFRAME);
  return true;
}

void UiHost::Detach(ws::Hwnd) {
  if (!previous_proc_set_) return;
  busy_ = true;
  ws::SetWindowProc(window_, previous_proc_);
  previous_proc_set_ = false;
  queue_.Clear();
  for (ControlHandle c = first_control_; c;) {
    UiControl* control = UiControl::FromHandle(c);
    if (!control) break;
    ControlHandle next = control->NextSibling();
    control->Destroy();
    c = next;
  }
  clip_region_.reset();
  if (!skin_source_) background_image_.reset();
  tooltip_.reset();
  if (pressed_flag_ || leave_tracking_) {
    pressed_flag_ = leave_tracking_ = false;
    ws::ReleaseCapture();
  }
  pressed_ = focused_ = hover_ = focus_frame_ = 0;
  first_control_ = last_control_ = 0;
  frame_flags_ = 0;
  graphics_.reset();
  frame_ = gfx::Bitmap();
  background_ = gfx::Bitmap();
  access_keys_.clear();
  caption_buttons_.clear();
  icon_picture_ = title_label_ = nullptr;
  set_title_text_ = nullptr;
  ws::RemoveProp(window_, kHostProperty);
  {
    // Blocks still on their way to the window are freed here; their messages find no host.
    std::lock_guard<std::mutex> lock(blocks_mutex_);
    for (void* b : blocks_)
      ::operator delete(b);
    blocks_.clear();
  }
  busy_ = false;
}

void UiHost::OnSize(ws::Hwnd, ws::WParam type, ws::LParam) {
  if (type == ws::SIZE_MINIMIZED) return;
  RectI r = ws::GetWindowRect(window_);
  if (r.width() == width_ && r.height() == height_) return;
  width_ = r.width();
  height_ = r.height();
  if (routines_.resized) routines_.resized(window_, width_, height_);
  CreateSurfaces();
  queue_.Bind(window_, this, graphics_.get());
  RenderBackground(std::nullopt, background_color_, 0, true);
}

void UiHost::LayoutCaption() {
  if (frame_flags_ == 0) return;
  int x = width_ - 5;
  if (frame_flags_ & frame::kClose) x -= 12;
  for (auto& button : caption_buttons_) {
    x -= 28;
    button->Move(float(x), 7.0f, std::nullopt, std::nullopt);
  }
  if ((frame_flags_ & frame::kTitle) && title_label_) {
    float left = (frame_flags_ & frame::kIcon) ? 28.0f : 11.0f;
    title_label_->Move(left, 10.0f, float(x) - left, 20.0f);
  }
}

bool UiHost::Draggable(std::optional<bool> value) {
  if (value) draggable_ = *value;
  return draggable_;
}

int UiHost::CornerStyle(std::optional<int> value) {
  if (value) corner_style_ = *value;
  return corner_style_;
}

void UiHost::HostCursor(int cursor, bool) {
  host_cursor_ = cursor;
}

ws::LResult UiHost::WindowProc(ws::Message m, ws::WParam w, ws::LParam l) {
  const ws::Hwnd window = window_;
  if (routines_.message_hook) {
    ws::LResult r = routines_.message_hook(window, m, w, l);
    if (r != -1) return r;
  }
  // What the previous procedure does with the message (after the host's own handling).
  auto pass_on = [&, proc = previous_proc_]() { return ws::CallWindowProc(proc, window, m, w, l); };
  switch (m) {
    case ws::WM_SIZE:
      OnSize(window, w, l);
      return pass_on();
    case ws::WM_DESTROY: {
      auto proc = previous_proc_;
      Detach(window);
      return ws::CallWindowProc(proc, window, m, w, l);
    }
    case ws::WM_CLOSE:
      if (close_effect_) PlayCloseEffect();
      ws::ShowWindow(window, ws::SW_HIDE);
      return pass_on();
    case ws::WM_SETTEXT: {
      ws::LResult r = pass_on();
      if (r == 1 && (frame_flags_ & frame::kTitle) && title_label_ && set_title_text_) {
        set_title_text_(ws::GetWindowText(window));
      }
      return r;
    }
    case ws::WM_NCCALCSIZE:
      if (w == 1) return 1;
      return pass_on();
    case ws::WM_NCACTIVATE:
      return 1;
    case ws::WM_GETMINMAXINFO: {
      auto* mm = reinterpret_cast<ws::MinMaxInfo*>(l);
      RectI work = ws::GetWorkArea();
      mm->max_size = {work.width() + 14, work.height() + 14};
      mm->max_position = {work.left - 7, work.top - 7};
      int buttons = static_cast<int>(caption_buttons_.size());
      int min_w =
          frame_flags_ == 0 ? 20 : 28 * buttons + ((frame_flags_ & frame::kClose) ? 11 : 0) + 35;
      mm->min_track_size = {1 + min_w, frame_flags_ != 0 ? 38 : 20};
      return 0;
    }
    case ws::WM_STYLECHANGED: {
      uint32_t style = ws::GetStyle(window);
      if (style & (ws::WS_DLGFRAME | ws::WS_BORDER)) {
        ws::SetStyle(window, style & ~(ws::WS_DLGFRAME | ws::WS_BORDER));
      }
      return pass_on();
    }
    case ws::WM_PAINT: {
      // A layered window keeps what was presented; any other gets the invalid part copied from
      // the frame, unless an animation is drawing it.
      RectI invalid = ws::BeginPaint(window);
      bool layered = ws::GetExStyle(window) & ws::WS_EX_LAYERED;
      if (!layered && !busy_ && !frame_.IsNull() && invalid.width() > 0)
        PresentBitmap(frame_, invalid);
      ws::EndPaint(window);
      return pass_on();
    }
    case ws::WM_ACTIVATE:
      if (w != ws::WA_INACTIVE) {
        if (pressed_) DispatchEvent(pressed_, ev::kFocusGained, w, l);
      } else {
        if (hover_) DispatchEvent(hover_, ev::kMouseLeave, w, l);
        if (pressed_flag_) {
          DispatchEvent(pressed_, ev::kFocusLost, w, l);
          ws::ReleaseCapture();
          pressed_flag_ = false;
        }
      }
      return pass_on();
    case ws::WM_SETCURSOR:
      if (static_cast<ws::Hwnd>(w) == window) {
        UiControl* hover = UiControl::FromHandle(hover_);
        ws::SetCursor(hover && hover->CursorId() ? hover->CursorId() : host_cursor_);
        return 1;
      }
      return pass_on();
    case ws::WM_KEYDOWN:
      OnKeyDown(m, w, l);
      return pass_on();
    case ws::WM_KEYUP:
    case ws::WM_CHAR:
    case ws::WM_SYSKEYDOWN:
    case ws::WM_SYSKEYUP:
    case ws::WM_IME_COMPOSITION:
    case ws::WM_COMMAND:
    case ws::WM_MOUSEWHEEL:
      DispatchEvent(focused_, m, w, l);
      return pass_on();
    case ws::WM_SYSCHAR:
      if (OnSysChar(m, w, l)) return 0;
      return pass_on();
    case ws::WM_TIMER:
      DispatchEvent(static_cast<ControlHandle>(w), ev::kTimer, w, l);
      return pass_on();
    case ws::WM_MOUSEMOVE:
      if (!leave_tracking_) leave_tracking_ = ws::TrackMouseLeave(window);
      if (tooltip_) tooltip_->RelayMouse(m, ws::XOf(l), ws::YOf(l));
      OnMouse(m, w, l);
      return pass_on();
    case ws::WM_LBUTTONDOWN:
    case ws::WM_LBUTTONUP:
    case ws::WM_RBUTTONDOWN:
    case ws::WM_RBUTTONUP:
      if (tooltip_) tooltip_->RelayMouse(m, ws::XOf(l), ws::YOf(l));
      OnMouse(m, w, l);
      return pass_on();
    case ws::WM_LBUTTONDBLCLK:
      ws::SendMessage(window, ws::WM_LBUTTONDOWN, kDoubleClickMarker, l);
      return 0;
    case ws::WM_MOUSELEAVE:
      leave_tracking_ = false;
      if (tooltip_) tooltip_->RelayMouse(m, -1, -1);
      ws::ReleaseCapture();
      if (hover_) {
        ControlHandle h = hover_;
        DispatchEvent(h, ev::kMouseLeave, w, l);
        Call(routines_.leave, h, 0, 0);
        hover_ = 0;
      }
      return pass_on();
    // The host messages.
    case hm::kFocusControl:
      if (l) FocusControl(static_cast<ControlHandle>(l), false);
      return pass_on();
    case hm::kSetAccessKey:
      return SetAccessKey(static_cast<ControlHandle>(w), static_cast<int>(l));
    case hm::kPresentLayered:
      if (Layered()) Present();
      return pass_on();
    case hm::kQueueRedraw: {
      auto* rect = reinterpret_cast<RectF*>(l);
      if (!ReleaseBlock(rect)) return 0;  // not one of this host's, or freed already
      RectF r = *rect;
      delete rect;
      QueueRedraw(r, static_cast<int>(w));
      if (w == 1) return 0;
      return pass_on();
    }
    case hm::kControlMoved: {
      UiControl* c = UiControl::FromHandle(static_cast<ControlHandle>(w));
      DispatchEvent(static_cast<ControlHandle>(w), ev::kMoved, 0, 0);
      if (l != 1) return 1;
      if (busy_) return 0;
      if (c) {
        RedrawRect(c->PreviousRect(), true);
        RedrawRect(c->CurrentRect(), true);
      }
      return 1;
    }
    case hm::kDeliverEvent: {
      auto* block = reinterpret_cast<EventBlock*>(l);
      if (!ReleaseBlock(block)) return 0;
      EventBlock b = *block;
      delete block;
      return DispatchEvent(static_cast<ControlHandle>(w), b.code, b.wparam, b.lparam);
    }
    case hm::kRunOnHostThread:
      (*reinterpret_cast<const std::function<void()>*>(w))();
      return 1;
    default:
      return pass_on();
  }
}

void RegisterToolkitClass(std::optional<std::string> name, std::optional<uint32_t> style,
                          std::optional<ws::WindowProc> proc) {
  ws::WindowClassInfo cls;
  cls.name = name.value_or("Lw_Ui");
  cls.style = style.value_or(ws::CS_DBLCLKS);
  cls.proc = proc.value_or(ws::WindowProc(&DefaultWindowProc));
  cls.cursor = DefaultCursor();
  for (auto bytes : {assets::ProgramIcon16(), assets::ProgramIcon32(), assets::ProgramIcon48()}) {
    if (auto icon = LoadImageFromBytes(bytes, false, false)) cls.icons.push_back(icon->Frame());
  }
  ws::RegisterClass(cls);
}

ws::LResult DefaultWindowProc(ws::Hwnd window, ws::Message m, ws::WParam w, ws::LParam l) {
  return ws::DefWindowProc(window, m, w, l);
}

}  // namespace lw
