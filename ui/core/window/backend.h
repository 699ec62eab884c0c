// What a window-system backend does for the core: it shows the core's windows on a real or
// simulated display and turns native events into calls of the input entry.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ui/core/geometry.h"
#include "ui/core/gfx/bitmap.h"
#include "ui/core/gfx/region.h"
#include "ui/core/window/messages.h"

namespace lw::ws {

inline constexpr uint64_t kForever = std::numeric_limits<uint64_t>::max();

struct NativeWindowInfo {
  std::string class_name;
  uint32_t style = 0;
  uint32_t ex_style = 0;
  RectI rect;
  std::string title_utf8;
  Hwnd owner = 0;
  std::vector<gfx::Bitmap> icons;
};

class Backend {
 public:
  virtual ~Backend() = default;
  virtual const char* Name() const = 0;
  // Milliseconds.
  virtual uint64_t Now() = 0;

  // The calling thread has nothing to do until `deadline` (kForever: none). A backend that
  // serves this thread's native events waits for them and for Wake(), turns them into input,
  // and answers true; otherwise it answers false and the core waits for posts itself.
  virtual bool WaitOnThisThread(uint64_t deadline) = 0;
  // Something was posted to `thread`: end its wait.
  virtual void Wake(std::thread::id thread) = 0;
  // A virtual clock jumps ahead rather than waiting (the headless backend's).
  virtual bool SkipsTime() const { return false; }
  virtual void SkipTo(uint64_t) {}
  // Whether a click activates its window here (else the system says so itself).
  virtual bool ActivatesOnClick() const { return false; }

  // Windows. Called on the window's thread, with the core unlocked.
  virtual void CreateNative(Hwnd hwnd, const NativeWindowInfo& info) = 0;
  virtual void DestroyNative(Hwnd hwnd) = 0;
  virtual void ShowNative(Hwnd hwnd, bool visible, bool activate) = 0;
  virtual void MoveNative(Hwnd hwnd, const RectI& rect) = 0;
  virtual void SetTitle(Hwnd hwnd, const std::string& utf8) = 0;
  virtual void SetIcons(Hwnd, const std::vector<gfx::Bitmap>&) {}
  virtual void SetTopmost(Hwnd hwnd, bool topmost) = 0;
  virtual void SetState(Hwnd, bool /*zoomed*/, bool /*iconic*/) {}
  virtual void SetStyles(Hwnd, uint32_t /*style*/, uint32_t /*ex_style*/) {}
  virtual void SetMinSize(Hwnd, int /*width*/, int /*height*/) {}
  virtual void SetRegion(Hwnd hwnd, const std::optional<gfx::Region>& region) = 0;
  // `frame` is the window's whole image; `rect` the part that changed.
  virtual void Present(Hwnd hwnd, const gfx::Bitmap& frame, const RectI& rect, bool layered,
                       uint8_t alpha) = 0;
  // Lets the system move (edge 0) or resize (a WMSZ_* edge) the window with the pointer.
  virtual void BeginMoveResize(Hwnd hwnd, int edge) = 0;
  virtual void Activate(Hwnd) {}

  // Input.
  virtual void SetCursor(Hwnd over, int cursor_id) = 0;
  virtual void SetCapture(Hwnd) {}
  virtual void ReleaseCapture() {}
  virtual std::optional<PointI> CursorPos() { return std::nullopt; }
  virtual void SetCaretPos(Hwnd, PointI) {}
  virtual void SetImeEnabled(Hwnd, bool) {}

  // System services. Clipboard text is UTF-8 with LF line ends, as other programs use it.
  virtual bool SetClipboardText(const std::string& utf8) = 0;
  virtual std::optional<std::string> GetClipboardText() = 0;
  virtual RectI WorkArea() = 0;
  virtual std::string InterfaceFontName(int) { return {}; }
};

}  // namespace lw::ws
