// The base of every light-weight control inside a host window: it owns an ARGB image as large
// as itself, draws its look into it, and asks its host to recompose its rectangle. The host
// keeps the controls in a tree, routes input to them and composes their images.
//
// Threads: a control is created on its host's thread. Its operations may be called from any
// thread; called from another one, they run on the host's thread (the caller waits), so a
// control image is never painted on one thread while the host composes it on another.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/controls/event_codes.h"
#include "ui/core/window/window_system.h"

namespace lw {

// Kind codes of the classes.
namespace kind {
inline constexpr int kCaptionButton = 1;
inline constexpr int kButton = 2;
inline constexpr int kLabel = 3;
inline constexpr int kPicture = 4;
inline constexpr int kListView = 8;
inline constexpr int kEdit = 9;
inline constexpr int kPanel = 16;
inline constexpr int kScrollBar = 19;
inline constexpr int kMenuItem = 20;
}  // namespace kind

class UiControl {
 public:
  UiControl();
  virtual ~UiControl();
  UiControl(const UiControl&) = delete;
  UiControl& operator=(const UiControl&) = delete;

  // The control a handle names, or null when it names none that is created.
  static UiControl* FromHandle(ControlHandle handle);

  // --- The shared operations, in their order ---

  // `parent` is a host window or a control handle. Answers the handle, or 0 when the parent
  // control's host is not the one registered on its window.
  ControlHandle Create(uintptr_t parent, const RectF& rect, int kind,
                       std::optional<int> visible = std::nullopt,
                       std::optional<bool> focusable = std::nullopt,
                       std::optional<int> cursor_id = std::nullopt,
                       std::optional<int> transition_interval = std::nullopt,
                       std::optional<int> transition_frames = std::nullopt,
                       std::optional<int> transition_style = std::nullopt);
  ControlHandle Handle() const { return handle_; }
  ws::Hwnd HostWindow() const { return host_window_; }
  ControlHandle Parent() const { return parent_; }
  // A control handle, the host window or 0 (the host's top level).
  void SetParent(uintptr_t new_parent);
  void Destroy();
  RectF Rect(std::optional<RectF> rect = std::nullopt);
  int Visible(std::optional<int> value = std::nullopt);
  int Disabled(std::optional<int> value = std::nullopt);
  bool Focusable(std::optional<bool> value = std::nullopt);
  bool HasFocus();
  ws::LResult Repaint();
  void Invalidate();
  void Move(std::optional<float> left, std::optional<float> top = std::nullopt,
            std::optional<float> width = std::nullopt, std::optional<float> height = std::nullopt,
            bool repaint = true);
  std::string Tooltip(std::optional<std::string> text = std::nullopt, bool apply = false);
  void ApplyTooltip(const std::string& text);
  void BindEvent(uint32_t code, EventRoutine routine);
  ControlHandle Self() const { return handle_; }
  int Opacity(std::optional<int> alpha = std::nullopt, bool repaint = true);
  int Transition(std::optional<int> frames = std::nullopt,
                 std::optional<int> interval = std::nullopt);
  int TransitionInterval(std::optional<int> ms = std::nullopt);
  int TransitionFrame();
  int TransitionStyle(std::optional<int> style = std::nullopt);
  ws::LResult SendEvent(uint32_t code, ws::WParam w, ws::LParam l);
  bool PostEvent(uint32_t code, ws::WParam w, ws::LParam l);
  int Cursor(std::optional<int> cursor = std::nullopt, bool is_handle = false);
  std::string Tag(std::optional<std::string> text = std::nullopt);
  float Left(std::optional<float> value = std::nullopt);
  float Top(std::optional<float> value = std::nullopt);
  float Width(std::optional<float> value = std::nullopt);
  float Height(std::optional<float> value = std::nullopt);
  // Position 2 puts it first (bottom-most) in its list; anything else last (top-most).
  void SetZOrder(std::optional<int> position = std::nullopt, bool repaint = true);
  void Unlink();
  void LockRedraw();
  void UnlockRedraw();
  // The timer routine of a repaint transition (timer id = handle + 1).
  void TransitionTick(ws::Hwnd window, ws::Message message, uintptr_t timer_id, uint32_t time);
  virtual void BeforePaint(PaintContext&) {}
  virtual void AfterPaint(PaintContext&) {}

  // The class's event procedure; a class without one answers nothing (its bindings are then
  // not called either). -1 is "not answered".
  virtual std::optional<ws::LResult> HandleEvent(uint32_t code, ws::WParam w, ws::LParam l);

  // --- For the host and the classes ---

  int Kind() const { return kind_; }
  UiHost* Host() const;
  // The tree links.
  ControlHandle FirstChild() const { return first_child_; }
  ControlHandle LastChild() const { return last_child_; }
  ControlHandle PreviousSibling() const { return previous_sibling_; }
  ControlHandle NextSibling() const { return next_sibling_; }
  void SetSiblings(ControlHandle previous, ControlHandle next) {
    previous_sibling_ = previous;
    next_sibling_ = next;
  }
  const RectF& CurrentRect() const { return rect_; }
  const RectF& PreviousRect() const { return previous_rect_; }
  int CurrentOpacity() const { return opacity_; }
  int CurrentVisible() const { return visible_; }
  int CurrentDisabled() const { return disabled_; }
  bool CurrentFocusable() const { return focusable_; }
  int CursorId() const { return cursor_; }
  const std::string& TooltipText() const { return tooltip_; }
  const gfx::Bitmap& Image() const { return image_; }
  gfx::Bitmap& MutableImage() { return image_; }
  const gfx::Bitmap& PreviousImage() const { return previous_image_; }
  gfx::Graphics* Graphics() const { return graphics_.get(); }
  int TransitionFrames() const { return transition_frames_; }
  const std::vector<std::pair<uint32_t, EventRoutine>>& Bindings() const { return bindings_; }

  // The paint pass: begin-paint fills `pc` (false without a host), end-paint pushes the image.
  bool BeginPaint(PaintContext& pc, std::optional<RectF> paint_rect = std::nullopt,
                  bool full = true);
  void EndPaint(PaintContext& pc);
  // Fills (left, top, width − 1, height − 1) of the paint rectangle.
  void FillPaintRect(PaintContext& pc, gfx::Argb color);

  // Runs `f` on the host window's thread (at once when already there).
  template <class F>
  auto OnHostThread(F&& f) -> decltype(f());

 private:
  void MakeImage();
  void ShiftDescendants(float dx, float dy);
  void RunOnHostThreadErased(const std::function<void()>& f);
  bool OnTheHostThread() const;

  ws::Hwnd host_window_ = 0;
  ControlHandle handle_ = 0;
  ControlHandle parent_ = 0;
  int visible_ = 0;
  int disabled_ = 0;
  bool focusable_ = true;
  bool redraw_enabled_ = true;
  int cursor_ = 0;
  std::vector<std::pair<uint32_t, EventRoutine>> bindings_;
  RectF rect_;
  std::string tooltip_;
  std::string tag_;
  int kind_ = 0;
  ControlHandle first_child_ = 0;
  ControlHandle last_child_ = 0;
  ControlHandle previous_sibling_ = 0;
  ControlHandle next_sibling_ = 0;
  int transition_frame_ = 0;
  gfx::Bitmap image_;
  std::unique_ptr<gfx::Graphics> graphics_;
  uintptr_t host_object_ = 0;
  int opacity_ = 255;
  gfx::Bitmap previous_image_;
  int transition_interval_ = 0;
  RectF previous_rect_;
  int transition_frames_ = 0;
  int transition_style_ = 0;
};

template <class F>
auto UiControl::OnHostThread(F&& f) -> decltype(f()) {
  using R = decltype(f());
  if (OnTheHostThread()) return f();
  if constexpr (std::is_void_v<R>) {
    RunOnHostThreadErased([&] { f(); });
  } else {
    std::optional<R> result;
    RunOnHostThreadErased([&] { result.emplace(f()); });
    return result ? std::move(*result) : R{};
  }
}

// Delivers an event: the class's procedure first, then the first binding for the code (a 515
// binding takes 513 with the double-click marker). Answers the procedure's result, 0 without
// one or for control 0.
ws::LResult DispatchEvent(ControlHandle control, uint32_t code, ws::WParam w, ws::LParam l);

}  // namespace lw
