// The event codes a control sees, the host messages, and the records that travel with them.
#pragma once

#include <cstdint>
#include <functional>

#include "ui/core/geometry.h"
#include "ui/core/gfx/bitmap.h"
#include "ui/core/gfx/graphics.h"
#include "ui/core/window/messages.h"

namespace lw {

// A control or host: the address of its object, stable while it exists; 0 is none.
using ControlHandle = uintptr_t;

namespace ev {
inline constexpr uint32_t kCreated = 1;
inline constexpr uint32_t kDestroyed = 2;
inline constexpr uint32_t kRedraw = 15;
inline constexpr uint32_t kTimer = 275;
inline constexpr uint32_t kDoubleClickBinding = 515;  // binding code only
inline constexpr uint32_t kFocusGained = 10240;
inline constexpr uint32_t kFocusLost = 10241;
inline constexpr uint32_t kMouseEnter = 10242;
inline constexpr uint32_t kMouseLeave = 10243;
inline constexpr uint32_t kClick = 10244;
inline constexpr uint32_t kResized = 10245;
inline constexpr uint32_t kHidden = 10246;
inline constexpr uint32_t kShown = 10247;
inline constexpr uint32_t kDrawTransition = 10248;
inline constexpr uint32_t kCaptureQuery = 10250;
inline constexpr uint32_t kDisabledOpacityQuery = 10254;
inline constexpr uint32_t kMoved = 10257;
inline constexpr uint32_t kHasFocusQuery = 10260;
inline constexpr uint32_t kOpacityChanged = 10261;
inline constexpr uint32_t kHostSnapshot = 10262;
inline constexpr uint32_t kTransitionStarted = 10263;
inline constexpr uint32_t kTransitionFinished = 10264;
}  // namespace ev

// Messages a control or another thread sends or posts to a host window.
namespace hm {
inline constexpr ws::Message kFocusControl = 10240;  // lParam: control
inline constexpr ws::Message kSetAccessKey = 10251;  // wParam: control, lParam: key code
inline constexpr ws::Message kPresentLayered = 10253;
inline constexpr ws::Message kQueueRedraw = 10256;   // wParam: mode, lParam: RectF* (owned)
inline constexpr ws::Message kControlMoved = 10257;  // wParam: control, lParam: repaint flag
inline constexpr ws::Message kDeliverEvent = 10258;  // wParam: control, lParam: EventBlock*
// Runs a routine on the host's thread (wParam: const std::function<void()>*); the answer is 1.
inline constexpr ws::Message kRunOnHostThread = 10300;
}  // namespace hm

// The double-click marker: the second press of a double click is a 513 with this wParam.
inline constexpr ws::WParam kDoubleClickMarker = 10086;

// What message 10258 carries: made by the sender, freed by the host after the dispatch.
struct EventBlock {
  uint32_t code;
  ws::WParam wparam;
  ws::LParam lparam;
};

class UiHost;

// Handed to a control while it paints (begin-paint to end-paint).
struct PaintContext {
  ws::Hwnd window = 0;
  gfx::Graphics* graphics = nullptr;  // the control's
  RectF paint_rect;
  bool full = false;
  UiHost* host = nullptr;
  gfx::Bitmap* image = nullptr;  // the control's
};

// Handed to a control with event 10248: one frame of a repaint transition to draw.
struct TransitionContext {
  gfx::Bitmap* frame = nullptr;
  gfx::Graphics* frame_graphics = nullptr;
  gfx::Bitmap* scratch = nullptr;
  gfx::Graphics* scratch_graphics = nullptr;
  const gfx::Bitmap* new_image = nullptr;
  const gfx::Bitmap* previous_image = nullptr;
  RectF rect;
  RectF clip_bounds;
  int transition_frame = 0;
  int frames = 0;
};

// A routine bound to an event: (parent or 0, control, code, wParam, lParam).
using EventRoutine = std::function<void(ControlHandle parent, ControlHandle control, uint32_t code,
                                        ws::WParam, ws::LParam)>;

}  // namespace lw
