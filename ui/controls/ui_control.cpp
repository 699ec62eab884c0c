#include "ui/controls/ui_control.h"

#include <cmath>
#include <mutex>
#include <set>

#include "ui/core/draw_helpers.h"
#include "ui/core/ui_host.h"

namespace lw {
namespace {

constexpr float kTolerance = 1e-7f;

// The controls that exist (are created), so a handle can be checked before it is followed.
struct Registry {
  std::mutex mutex;
  std::set<ControlHandle> live;
};
Registry& Live() {
  static Registry* r = new Registry();
  return *r;
}

bool Differs(float a, float b) {
  return std::fabs(a - b) > kTolerance;
}

// A block handed to the host window is tracked by the host, which frees it when it takes it;
// one the host never took (no window, a failed post) is freed here.
template <typename Block>
void ForgetUntaken(UiHost* host, Block* block) {
  if (!host || host->ReleaseBlock(block)) delete block;
}

template <typename Block>
ws::LResult SendBlock(UiHost* host, ws::Hwnd window, ws::Message message, ws::WParam w,
                      Block* block) {
  if (host) host->TrackBlock(block);
  ws::LResult r = ws::SendMessage(window, message, w, reinterpret_cast<ws::LParam>(block));
  ForgetUntaken(host, block);
  return r;
}

template <typename Block>
bool PostBlock(UiHost* host, ws::Hwnd window, ws::Message message, ws::WParam w, Block* block) {
  if (host) host->TrackBlock(block);
  if (ws::PostMessage(window, message, w, reinterpret_cast<ws::LParam>(block))) return true;
  ForgetUntaken(host, block);
  return false;
}

}  // namespace

UiControl::UiControl() = default;

UiControl::~UiControl() {
  // A control still created when its variable goes is unlinked first.
  if (handle_) Destroy();
}

UiControl* UiControl::FromHandle(ControlHandle handle) {
  if (!handle) return nullptr;
  std::lock_guard<std::mutex> lock(Live().mutex);
  return Live().live.count(handle) ? reinterpret_cast<UiControl*>(handle) : nullptr;
}

UiHost* UiControl::Host() const {
  UiHost* host = reinterpret_cast<UiHost*>(host_object_);
  return host && UiHost::FromWindow(host_window_) == host ? host : nullptr;
}

bool UiControl::OnTheHostThread() const {
  return !host_window_ || !ws::IsWindow(host_window_) ||
         ws::GetWindowThread(host_window_) == std::this_thread::get_id();
}

void UiControl::RunOnHostThreadErased(const std::function<void()>& f) {
  ws::SendMessage(host_window_, hm::kRunOnHostThread, reinterpret_cast<ws::WParam>(&f), 0);
}

std::optional<ws::LResult> UiControl::HandleEvent(uint32_t, ws::WParam, ws::LParam) {
  return std::nullopt;
}

ws::LResult DispatchEvent(ControlHandle handle, uint32_t code, ws::WParam w, ws::LParam l) {
  UiControl* c = UiControl::FromHandle(handle);
  if (!c) return 0;
  std::optional<ws::LResult> result = c->HandleEvent(code, w, l);
  if (!result) return 0;
  // The procedure may have destroyed the control.
  c = UiControl::FromHandle(handle);
  if (!c) return *result;
  for (const auto& [bound, routine] : c->Bindings()) {
    // A 515 binding waits for the second press of a double click, never a plain 515.
    bool matches = bound == ev::kDoubleClickBinding
                       ? code == ws::WM_LBUTTONDOWN && w == kDoubleClickMarker
                       : bound == code;
    if (!matches) continue;
    EventRoutine r = routine;  // the routine may rebind
    r(c->Parent(), handle, code, w, l);
    break;
  }
  return *result;
}

ControlHandle UiControl::Create(uintptr_t parent, const RectF& rect, int kind,
                                std::optional<int> visible, std::optional<bool> focusable,
                                std::optional<int> cursor_id, std::optional<int> interval,
                                std::optional<int> frames, std::optional<int> style) {
  ControlHandle self = reinterpret_cast<ControlHandle>(this);
  if (handle_ == self) return handle_;
  UiHost* host = UiHost::FromWindow(static_cast<ws::Hwnd>(parent));
  UiControl* parent_control = nullptr;
  if (!host) {
    parent_control = FromHandle(parent);
    if (!parent_control || !parent_control->Host()) return 0;
    host = parent_control->Host();
  }
  handle_ = self;
  host_window_ = host->Window();
  host_object_ = reinterpret_cast<uintptr_t>(host);
  rect_ = rect;
  previous_rect_ = rect;
  kind_ = kind;
  visible_ = visible.value_or(1);
  focusable_ = focusable.value_or(true);
  cursor_ = cursor_id.value_or(0);
  tooltip_.clear();
  parent_ = 0;
  opacity_ = 255;
  disabled_ = 0;
  redraw_enabled_ = true;
  transition_frame_ = 0;
  first_child_ = last_child_ = previous_sibling_ = next_sibling_ = 0;
  {
    std::lock_guard<std::mutex> lock(Live().mutex);
    Live().live.insert(self);
  }
  if (!parent_control) {
    // Appended to the host's top-level list.
    ControlHandle last = host->LastControl();
    if (!last) host->SetFirstControl(self);
    if (UiControl* old = FromHandle(last)) old->next_sibling_ = self;
    previous_sibling_ = last;
    host->SetLastControl(self);
  } else {
    SetParent(parent);
  }
  MakeImage();
  transition_interval_ = interval.value_or(0);
  transition_frames_ = frames.value_or(0);
  transition_style_ = style.value_or(0);
  SendEvent(ev::kCreated, reinterpret_cast<ws::WParam>(&image_),
            reinterpret_cast<ws::LParam>(graphics_.get()));
  SendEvent(ev::kRedraw, reinterpret_cast<ws::WParam>(&image_),
            reinterpret_cast<ws::LParam>(graphics_.get()));
  return handle_;
}

void UiControl::MakeImage() {
  graphics_.reset();
  int w = std::max(1, static_cast<int>(std::lround(rect_.width)));
  int h = std::max(1, static_cast<int>(std::lround(rect_.height)));
  image_ = gfx::Bitmap(w, h);
  graphics_ = std::make_unique<gfx::Graphics>(image_);
  graphics_->SetSmoothingMode(gfx::SmoothingMode::kAntiAlias);
  graphics_->SetTextRenderingHint(gfx::TextRenderingHint::kAntiAliasGridFit);
}

void UiControl::SetParent(uintptr_t new_parent) {
  OnHostThread([&] {
    UiHost* host = Host();
    if (!host) return;
    ControlHandle target = new_parent == host->Window() ? 0 : new_parent;
    if (target == parent_ &&
        (target || previous_sibling_ || next_sibling_ || host->FirstControl() == handle_)) {
      return;
    }
    Unlink();
    UiControl* p = FromHandle(target);
    if (!p) target = 0;
    ControlHandle last = p ? p->last_child_ : host->LastControl();
    if (UiControl* old = FromHandle(last)) old->next_sibling_ = handle_;
    previous_sibling_ = last;
    next_sibling_ = 0;
    if (p) {
      if (!p->first_child_) p->first_child_ = handle_;
      p->last_child_ = handle_;
    } else {
      if (!host->FirstControl()) host->SetFirstControl(handle_);
      host->SetLastControl(handle_);
    }
    parent_ = target;
    Invalidate();
  });
}

void UiControl::Unlink() {
  OnHostThread([&] {
    UiHost* host = Host();
    UiControl* p = FromHandle(parent_);
    ControlHandle first, last;
    if (p) {
      first = p->first_child_;
      last = p->last_child_;
    } else {
      if (!host) return;
      // A top-level control that is not in the host's list only loses its links.
      bool found = false;
      for (ControlHandle c = host->FirstControl(); c && !found;
           c = FromHandle(c) ? FromHandle(c)->next_sibling_ : 0) {
        found = c == handle_;
      }
      if (!found) {
        previous_sibling_ = next_sibling_ = 0;
        return;
      }
      first = host->FirstControl();
      last = host->LastControl();
    }
    if (first == handle_) first = next_sibling_;
    if (last == handle_) last = previous_sibling_;
    if (UiControl* prev = FromHandle(previous_sibling_)) prev->next_sibling_ = next_sibling_;
    if (UiControl* next = FromHandle(next_sibling_)) next->previous_sibling_ = previous_sibling_;
    previous_sibling_ = next_sibling_ = 0;
    if (p) {
      p->first_child_ = first;
      p->last_child_ = last;
    } else {
      host->SetFirstControl(first);
      host->SetLastControl(last);
    }
  });
}

void UiControl::Destroy() {
  OnHostThread([&] {
    if (!handle_ || !Host()) {
      if (handle_) {
        std::lock_guard<std::mutex> lock(Live().mutex);
        Live().live.erase(handle_);
      }
      handle_ = 0;
      return;
    }
    visible_ = 0;
    Invalidate();
    // Children first, each with its own children.
    for (ControlHandle c = first_child_; c;) {
      UiControl* child = FromHandle(c);
      if (!child) break;
      ControlHandle next = child->next_sibling_;
      child->Destroy();
      c = next;
    }
    HandleEvent(ev::kDestroyed, 0, 0);
    ws::KillTimer(host_window_, handle_ + 1);
    if (UiHost* host = Host()) host->Forget(handle_);
    Unlink();
    {
      std::lock_guard<std::mutex> lock(Live().mutex);
      Live().live.erase(handle_);
    }
    graphics_.reset();
    image_ = gfx::Bitmap();
    previous_image_ = gfx::Bitmap();
    bindings_.clear();
    tooltip_.clear();
    tag_.clear();
    host_window_ = 0;
    handle_ = parent_ = 0;
    visible_ = disabled_ = 0;
    focusable_ = false;
    redraw_enabled_ = false;
    cursor_ = 0;
    rect_ = previous_rect_ = {};
    kind_ = 0;
    first_child_ = last_child_ = previous_sibling_ = next_sibling_ = 0;
    transition_frame_ = transition_interval_ = transition_frames_ = transition_style_ = 0;
    host_object_ = 0;
    opacity_ = 0;
  });
}

RectF UiControl::Rect(std::optional<RectF> rect) {
  return OnHostThread([&] {
    if (rect) Move(rect->left, rect->top, rect->width, rect->height, true);
    return rect_;
  });
}

int UiControl::Visible(std::optional<int> value) {
  return OnHostThread([&] {
    if (value && *value != visible_) {
      visible_ = *value;
      SendEvent(visible_ ? ev::kShown : ev::kHidden, 0, 0);
      Invalidate();
    }
    return visible_;
  });
}

int UiControl::Disabled(std::optional<int> value) {
  return OnHostThread([&] {
    if (value && *value != disabled_) {
      disabled_ = *value;
      UiHost* host = Host();
      if (host && host->FocusedControl() == handle_) {
        host->ClearFocus();
        PostEvent(ev::kFocusLost, 0, 0);
      }
      PostEvent(ev::kMouseLeave, 0, 0);
      Invalidate();
    }
    return disabled_;
  });
}

bool UiControl::Focusable(std::optional<bool> value) {
  return OnHostThread([&] {
    if (value) focusable_ = *value;
    return focusable_;
  });
}

bool UiControl::HasFocus() {
  return OnHostThread([&] {
    ws::LResult r = SendEvent(ev::kHasFocusQuery, 0, 0);
    if (r == 1) return true;
    if (r != -1) return false;
    UiHost* host = Host();
    return host && host->FocusedControl() == handle_;
  });
}

ws::LResult UiControl::Repaint() {
  return OnHostThread([&] { return SendEvent(ev::kRedraw, 0, 0); });
}

void UiControl::Invalidate() {
  if (!host_window_) return;
  PostBlock(Host(), host_window_, hm::kQueueRedraw, 1, new RectF(rect_));
}

void UiControl::ShiftDescendants(float dx, float dy) {
  for (ControlHandle c = first_child_; c;) {
    UiControl* child = FromHandle(c);
    if (!child) break;
    child->previous_rect_ = child->rect_;
    child->rect_.left += dx;
    child->rect_.top += dy;
    child->ShiftDescendants(dx, dy);
    c = child->next_sibling_;
  }
}

void UiControl::Move(std::optional<float> left, std::optional<float> top,
                     std::optional<float> width, std::optional<float> height, bool repaint) {
  OnHostThread([&] {
    RectF n{left.value_or(rect_.left), top.value_or(rect_.top), width.value_or(rect_.width),
            height.value_or(rect_.height)};
    bool moved = Differs(n.left, rect_.left) || Differs(n.top, rect_.top);
    bool resized = Differs(n.width, rect_.width) || Differs(n.height, rect_.height);
    if (!moved && !resized) return;
    previous_rect_ = rect_;
    rect_ = n;
    ShiftDescendants(n.left - previous_rect_.left, n.top - previous_rect_.top);
    if (resized) {
      MakeImage();
      SendEvent(ev::kResized, static_cast<ws::WParam>(std::lround(n.width)),
                static_cast<ws::LParam>(std::lround(n.height)));
      SendEvent(ev::kRedraw, static_cast<ws::WParam>(std::lround(n.width)),
                static_cast<ws::LParam>(std::lround(n.height)));
    }
    // On the host's own thread a busy host cannot become idle while this waits: it redraws
    // everything when it is done, so one try is enough.
    ws::SendMessage(host_window_, hm::kControlMoved, handle_, repaint && visible_ != 0 ? 1 : 0);
  });
}

std::string UiControl::Tooltip(std::optional<std::string> text, bool apply) {
  return OnHostThread([&] {
    if (text) {
      tooltip_ = *text;
      if (apply) ApplyTooltip(tooltip_);
    }
    return tooltip_;
  });
}

void UiControl::ApplyTooltip(const std::string& text) {
  OnHostThread([&] {
    if (UiHost* host = Host()) host->UpdateTooltip(handle_, text);
  });
}

void UiControl::BindEvent(uint32_t code, EventRoutine routine) {
  OnHostThread([&] {
    for (auto& [bound, r] : bindings_) {
      if (bound == code) {
        r = std::move(routine);
        return;
      }
    }
    bindings_.emplace_back(code, std::move(routine));
  });
}

int UiControl::Opacity(std::optional<int> alpha, bool repaint) {
  return OnHostThread([&] {
    if (alpha) {
      opacity_ = *alpha;
      SendEvent(ev::kOpacityChanged, 0, opacity_);
      if (repaint) Invalidate();
    }
    return opacity_;
  });
}

int UiControl::Transition(std::optional<int> frames, std::optional<int> interval) {
  return OnHostThread([&] {
    if (frames) transition_frames_ = *frames;
    if (interval) transition_interval_ = *interval;
    return transition_frames_;
  });
}

int UiControl::TransitionInterval(std::optional<int> ms) {
  return OnHostThread([&] {
    if (ms) transition_interval_ = *ms;
    return transition_interval_;
  });
}

int UiControl::TransitionFrame() {
  return OnHostThread([&] { return transition_frame_; });
}

int UiControl::TransitionStyle(std::optional<int> style) {
  return OnHostThread([&] {
    if (style) transition_style_ = *style;
    return transition_style_;
  });
}

ws::LResult UiControl::SendEvent(uint32_t code, ws::WParam w, ws::LParam l) {
  if (!host_window_) return 0;
  return SendBlock(Host(), host_window_, hm::kDeliverEvent, handle_, new EventBlock{code, w, l});
}

bool UiControl::PostEvent(uint32_t code, ws::WParam w, ws::LParam l) {
  if (!host_window_) return false;
  return PostBlock(Host(), host_window_, hm::kDeliverEvent, handle_, new EventBlock{code, w, l});
}

int UiControl::Cursor(std::optional<int> cursor, bool) {
  return OnHostThread([&] {
    if (cursor) cursor_ = *cursor;
    return cursor_;
  });
}

std::string UiControl::Tag(std::optional<std::string> text) {
  return OnHostThread([&] {
    if (text) tag_ = *text;
    return tag_;
  });
}

float UiControl::Left(std::optional<float> v) {
  return OnHostThread([&] {
    if (v && Differs(*v, rect_.left)) Move(*v);
    return rect_.left;
  });
}

float UiControl::Top(std::optional<float> v) {
  return OnHostThread([&] {
    if (v && Differs(*v, rect_.top)) Move(std::nullopt, *v);
    return rect_.top;
  });
}

float UiControl::Width(std::optional<float> v) {
  return OnHostThread([&] {
    if (v && Differs(*v, rect_.width)) Move(std::nullopt, std::nullopt, *v);
    return rect_.width;
  });
}

float UiControl::Height(std::optional<float> v) {
  return OnHostThread([&] {
    if (v && Differs(*v, rect_.height)) Move(std::nullopt, std::nullopt, std::nullopt, *v);
    return rect_.height;
  });
}

void UiControl::SetZOrder(std::optional<int> position, bool repaint) {
  OnHostThread([&] {
    UiHost* host = Host();
    if (!host) return;
    Unlink();
    UiControl* p = FromHandle(parent_);
    ControlHandle first = p ? p->first_child_ : host->FirstControl();
    ControlHandle last = p ? p->last_child_ : host->LastControl();
    if (position && *position == 2) {
      next_sibling_ = first;
      if (UiControl* f = FromHandle(first)) f->previous_sibling_ = handle_;
      first = handle_;
      if (!last) last = handle_;
    } else {
      previous_sibling_ = last;
      if (UiControl* l = FromHandle(last)) l->next_sibling_ = handle_;
      last = handle_;
      if (!first) first = handle_;
    }
    if (p) {
      p->first_child_ = first;
      p->last_child_ = last;
    } else {
      host->SetFirstControl(first);
      host->SetLastControl(last);
    }
    if (repaint) Invalidate();
  });
}

void UiControl::LockRedraw() {
  OnHostThread([&] { redraw_enabled_ = false; });
}

void UiControl::UnlockRedraw() {
  OnHostThread([&] { redraw_enabled_ = true; });
}

void UiControl::TransitionTick(ws::Hwnd window, ws::Message, uintptr_t, uint32_t) {
  ++transition_frame_;
  if (UiHost* host = Host()) host->RedrawRect(rect_, true);
  if (transition_frame_ >= transition_frames_) {
    ws::KillTimer(window, handle_ + 1);
    previous_image_ = gfx::Bitmap();
    transition_frame_ = 0;
    DispatchEvent(handle_, ev::kTransitionFinished, 0, 0);
  }
}

bool UiControl::BeginPaint(PaintContext& pc, std::optional<RectF> paint_rect, bool full) {
  UiHost* host = Host();
  if (!host_window_ || !host || !graphics_) return false;
  pc.window = host_window_;
  pc.graphics = graphics_.get();
  pc.paint_rect = paint_rect.value_or(RectF{0, 0, float(image_.Width()), float(image_.Height())});
  pc.full = full;
  pc.host = host;
  pc.image = &image_;
  if (full) {
    previous_image_ = gfx::Bitmap();
    if (!host->Busy() && transition_frames_ && transition_interval_) {
      // A running transition ends at its last frame before the new one starts.
      ws::KillTimer(host_window_, handle_ + 1);
      transition_frame_ = transition_frames_;
      host->RedrawRect(rect_, true);
      previous_image_ = image_.Clone(ToSystemRect(pc.paint_rect));
    }
    graphics_->SetClip(pc.paint_rect);
    graphics_->Clear(0);
    graphics_->ResetClip();
  }
  BeforePaint(pc);
  return true;
}

void UiControl::EndPaint(PaintContext& pc) {
  AfterPaint(pc);
  if (!pc.full || !redraw_enabled_ || visible_ == 0) return;
  if (transition_frames_ && transition_interval_) {
    transition_frame_ = 0;
    DispatchEvent(handle_, ev::kTransitionStarted, 0, 0);
    ControlHandle self = handle_;
    ws::SetTimer(host_window_, handle_ + 1, static_cast<uint32_t>(transition_interval_),
                 [self](ws::Hwnd w, ws::Message m, uintptr_t id, uint32_t t) {
                   if (UiControl* c = FromHandle(self)) c->TransitionTick(w, m, id, t);
                 });
  } else {
    SendBlock(Host(), host_window_, hm::kQueueRedraw, 0, new RectF(rect_));
  }
}

void UiControl::FillPaintRect(PaintContext& pc, gfx::Argb color) {
  pc.graphics->FillRectangle(
      gfx::Brush::Solid(color),
      {pc.paint_rect.left, pc.paint_rect.top, pc.paint_rect.width - 1, pc.paint_rect.height - 1});
}

}  // namespace lw
