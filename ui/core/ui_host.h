// A toolkit window: a host takes over an ordinary window, draws its background, frame and
// caption buttons into an off-screen frame, composes the light-weight controls of the window
// into it, presents it, and routes input to the controls.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "ui/controls/event_codes.h"
#include "ui/core/gfx/graphics.h"
#include "ui/core/gfx/image.h"
#include "ui/core/redraw_queue.h"
#include "ui/core/window/tooltip.h"
#include "ui/core/window/window_system.h"

namespace lw {

class UiCaptionButton;
class UiControl;

// Frame flags.
namespace frame {
inline constexpr int kIcon = 1;
inline constexpr int kTitle = 2;
inline constexpr int kClose = 4;
inline constexpr int kMaximize = 8;
inline constexpr int kMinimize = 16;
inline constexpr int kShadow = 512;
inline constexpr int kDefaults = 1024;
}  // namespace frame

// The host property that leads from a window to its host.
inline constexpr const char* kHostProperty = "Lw_Wnd_Control";

struct NineGrid {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

struct AttachParams {
  ws::Hwnd window = 0;
  std::vector<uint8_t> image;      // a complete image file; empty: none
  int64_t background_color = -1;   // 0x00BBGGRR; -1: the image's average
  std::optional<int> frame_flags;  // not given: the default caption bits
  int opacity = -1;                // -1: not layered
  int placement = 0;               // 0 at (5, 5), 1 stretched, 2 centred
  int corner_style = 7;            // 0 square, 1 no frame, other rounded
  bool show_on_attach = true;      // accepted; changes nothing
  std::optional<bool> resizable;   // not given: whether the window has WS_THICKFRAME
  bool draggable = true;
  bool edge_highlight = true;
  std::optional<bool> blur_behind;  // not given: off (the system has no blur service)
  NineGrid nine_grid;
  ws::Hwnd skin_source = 0;
};

// The application's routines the host calls (each may be empty).
struct HostRoutines {
  std::function<void(ws::Hwnd, gfx::Graphics&, int width, int height)> background_painter;
  std::function<ws::LResult(ws::Hwnd, ws::Message, ws::WParam, ws::LParam)> message_hook;
  std::function<void(ws::Hwnd, int width, int height)> resized;
  // (window, control, wParam, lParam, kind of the control)
  using ControlRoutine = std::function<void(ws::Hwnd, ControlHandle, ws::WParam, ws::LParam, int)>;
  ControlRoutine press, release, click, double_click, right_down, right_up, enter, leave,
      focus_gained, focus_lost;
};

class UiHost {
 public:
  UiHost();
  ~UiHost();
  UiHost(const UiHost&) = delete;
  UiHost& operator=(const UiHost&) = delete;

  // The host attached to a window (through its property), or null.
  static UiHost* FromWindow(ws::Hwnd window);

  // --- The host's operations ---

  ws::LResult WindowProc(ws::Message m, ws::WParam w, ws::LParam l);
  void QueueRedraw(const RectF& rect, int mode);
  // text: nullopt for the control's own tooltip text.
  void UpdateTooltip(ControlHandle control, std::optional<std::string> text = std::nullopt);
  void FadeInTick();
  bool OnSysChar(ws::Message m, ws::WParam w, ws::LParam l);
  ws::LResult OnKeyDown(ws::Message m, ws::WParam w, ws::LParam l);
  void Detach(ws::Hwnd window);
  void OnSize(ws::Hwnd window, ws::WParam type, ws::LParam packed);
  int SetAccessKey(ControlHandle control, int key);
  void OnMouse(ws::Message m, ws::WParam w, ws::LParam l);
  bool OnResizeBorder(ws::Message m, ws::LParam l);
  bool Attach(const AttachParams& params);
  bool Draggable(std::optional<bool> value = std::nullopt);
  int CornerStyle(std::optional<int> value = std::nullopt);
  // image: nullopt keeps the current one; colour -1 keeps it; present mode -1 none, 0 now,
  // 1 fade in; no_refresh: controls are not told 10262 first.
  int RenderBackground(std::optional<std::span<const uint8_t>> image = std::nullopt,
                       int64_t color = -1, int present_mode = 0, bool no_refresh = false);
  void LayoutCaption();
  void ShadowColor(int64_t color) { shadow_color_ = color; }
  void FocusControl(ControlHandle control, bool mark_focus_frame);
  void Present(std::optional<RectF> rect = std::nullopt);
  void Show(int effect, std::optional<int> duration_ms = std::nullopt);
  void CloseEffect(int effect) { close_effect_ = effect; }
  void HostCursor(int cursor, bool is_handle = false);
  void SetBackgroundPainter(decltype(HostRoutines::background_painter) r) {
    routines_.background_painter = std::move(r);
  }
  void SetMessageHook(decltype(HostRoutines::message_hook) r) {
    routines_.message_hook = std::move(r);
  }
  void SetResizedRoutine(decltype(HostRoutines::resized) r) { routines_.resized = std::move(r); }
  void SetPressRoutine(HostRoutines::ControlRoutine r) { routines_.press = std::move(r); }
  void SetReleaseRoutine(HostRoutines::ControlRoutine r) { routines_.release = std::move(r); }
  void SetClickRoutine(HostRoutines::ControlRoutine r) { routines_.click = std::move(r); }
  void SetDoubleClickRoutine(HostRoutines::ControlRoutine r) {
    routines_.double_click = std::move(r);
  }
  void SetRightDownRoutine(HostRoutines::ControlRoutine r) { routines_.right_down = std::move(r); }
  void SetRightUpRoutine(HostRoutines::ControlRoutine r) { routines_.right_up = std::move(r); }
  void SetLeaveRoutine(HostRoutines::ControlRoutine r) { routines_.leave = std::move(r); }
  void SetEnterRoutine(HostRoutines::ControlRoutine r) { routines_.enter = std::move(r); }
  void SetFocusGainedRoutine(HostRoutines::ControlRoutine r) {
    routines_.focus_gained = std::move(r);
  }
  void SetFocusLostRoutine(HostRoutines::ControlRoutine r) { routines_.focus_lost = std::move(r); }

  // --- What controls and the painting need ---

  ws::Hwnd Window() const { return window_; }
  ControlHandle Handle() const { return handle_; }
  bool Busy() const { return busy_; }
  bool Attached() const { return previous_proc_set_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int FrameFlags() const { return frame_flags_; }
  int Opacity() const { return opacity_; }
  bool Layered() const { return opacity_ != -1; }
  uint32_t BackgroundColor() const { return background_color_; }
  const gfx::Bitmap* BackgroundImage() const;
  gfx::Bitmap& FrameBitmap() { return frame_; }
  gfx::Graphics* FrameGraphics() { return graphics_.get(); }
  const gfx::Bitmap& BackgroundSurface() const { return background_; }
  ControlHandle FirstControl() const { return first_control_; }
  ControlHandle LastControl() const { return last_control_; }
  void SetFirstControl(ControlHandle c) { first_control_ = c; }
  void SetLastControl(ControlHandle c) { last_control_ = c; }
  ControlHandle FocusedControl() const { return focused_; }
  ControlHandle HoverControl() const { return hover_; }
  ControlHandle PressedControl() const { return pressed_; }
  bool Pressed() const { return pressed_flag_; }
  ControlHandle FocusFrameControl() const { return focus_frame_; }
  void SetFocusFrameControl(ControlHandle c) { focus_frame_ = c; }
  // A destroyed control: the host no longer refers to it.
  void Forget(ControlHandle control);
  void ClearFocus() { focused_ = 0; }
  const std::vector<std::unique_ptr<UiCaptionButton>>& CaptionButtons() const {
    return caption_buttons_;
  }
  const std::vector<std::pair<ControlHandle, int>>& AccessKeys() const { return access_keys_; }
  ws::Tooltip* TooltipWindow() const { return tooltip_.get(); }
  RedrawQueue& Queue() { return queue_; }
  // The control under a point of the window (the top-most visible, enabled one), or 0.
  ControlHandle HitTest(float x, float y) const;
  // Redraws `rect` of the frame from the background and the controls; presents it when asked.
  void RedrawRect(const RectF& rect, bool present);
  // The frame of the transition as the host draws it (for tests of the slide styles).
  static gfx::Bitmap& Scratch();

  // Keeps a block a control sent or posted until the host frees it (or detaches).
  void TrackBlock(void* block);
  bool ReleaseBlock(void* block);
  size_t PendingBlocks() {
    std::lock_guard<std::mutex> lock(blocks_mutex_);
    return blocks_.size();
  }

  // The seam for the icon picture (frame bit 1) and the title label (bit 2): the controls that
  // show them register a maker; without one the host has neither.
  using DecorationMaker = std::function<void(UiHost& host, int frame_flags)>;
  static void SetDecorationMaker(DecorationMaker maker);
  UiControl* TitleLabel() const { return title_label_; }
  // `set_text` gives the label a new text (GBK) when the window's text changes.
  void SetTitleLabel(UiControl* label, std::function<void(const std::string&)> set_text) {
    title_label_ = label;
    set_title_text_ = std::move(set_text);
  }
  void SetIconPicture(UiControl* picture) { icon_picture_ = picture; }

 private:
  friend class HostPainter;
  void CreateSurfaces();
  void ComposeAll(ControlHandle first, bool no_refresh);
  void ComposeWithin(ControlHandle first, const RectF& rect);
  void DrawTransition(UiControl& c, float opacity);
  void PlayCloseEffect();
  void ShowAnimated(int effect, int duration);
  void EnterControl(ControlHandle r, ControlHandle previous, ws::WParam w, ws::LParam l);
  void FocusByMouse(ControlHandle r, ws::WParam w, ws::LParam l);
  void Call(const HostRoutines::ControlRoutine& routine, ControlHandle c, ws::WParam w,
            ws::LParam l);
  void ToggleMaximize();
  void PresentBitmap(const gfx::Bitmap& frame, std::optional<RectI> rect);
  void SetWindowRoundRegion(int n, int corner, bool rounded);

  ws::Hwnd window_ = 0;
  ControlHandle handle_ = 0;
  ws::WindowProc previous_proc_;
  bool previous_proc_set_ = false;
  ControlHandle focused_ = 0;
  ControlHandle hover_ = 0;
  ControlHandle pressed_ = 0;
  bool pressed_flag_ = false;
  bool busy_ = false;
  gfx::Bitmap frame_;
  std::unique_ptr<gfx::Graphics> graphics_;
  gfx::Bitmap background_;
  ws::Hwnd skin_source_ = 0;
  std::unique_ptr<gfx::Image> background_image_;
  uint32_t background_color_ = 0;
  ControlHandle first_control_ = 0;
  ControlHandle last_control_ = 0;
  int frame_flags_ = 0;
  std::unique_ptr<ws::Tooltip> tooltip_;
  int corner_style_ = 7;
  int opacity_ = -1;
  int placement_ = 0;
  int64_t shadow_color_ = -1;
  bool resizable_ = false;
  bool draggable_ = true;
  bool edge_highlight_ = true;
  int close_effect_ = 0;
  int width_ = 0;
  int height_ = 0;
  std::optional<gfx::Region> clip_region_;
  ControlHandle focus_frame_ = 0;
  bool blur_behind_ = false;
  int host_cursor_ = 32512;
  NineGrid nine_grid_;
  gfx::Bitmap snapshot_;
  int fade_alpha_ = 0;
  bool leave_tracking_ = false;
  std::vector<std::pair<ControlHandle, int>> access_keys_;
  std::vector<std::unique_ptr<UiCaptionButton>> caption_buttons_;
  UiControl* icon_picture_ = nullptr;
  UiControl* title_label_ = nullptr;
  std::function<void(const std::string&)> set_title_text_;
  RedrawQueue queue_;
  HostRoutines routines_;
  gfx::Bitmap shown_;  // what a window without per-pixel alpha shows now
  std::mutex blocks_mutex_;
  std::set<void*> blocks_;
};

// The toolkit's window class and its default procedure.
void RegisterToolkitClass(std::optional<std::string> name = std::nullopt,
                          std::optional<uint32_t> style = std::nullopt,
                          std::optional<ws::WindowProc> proc = std::nullopt);
ws::LResult DefaultWindowProc(ws::Hwnd window, ws::Message m, ws::WParam w, ws::LParam l);

}  // namespace lw
