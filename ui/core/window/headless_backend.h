// A window system in memory, deterministic, for the toolkit's tests: nothing is shown; input
// is made by the test through the same entry a real backend uses; the clock is virtual and
// only moves when a thread would wait or the test advances it; every presented frame can be
// read back as pixels.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/core/window/backend.h"
#include "ui/core/window/window_system.h"

namespace lw::ws {

class HeadlessBackend : public Backend {
 public:
  HeadlessBackend();
  const char* Name() const override { return "headless"; }
  uint64_t Now() override;
  bool WaitOnThisThread(uint64_t) override { return false; }
  void Wake(std::thread::id) override {}
  bool SkipsTime() const override { return true; }
  void SkipTo(uint64_t t) override;
  bool ActivatesOnClick() const override { return true; }

  void CreateNative(Hwnd hwnd, const NativeWindowInfo& info) override;
  void DestroyNative(Hwnd hwnd) override;
  void ShowNative(Hwnd, bool, bool) override {}
  void MoveNative(Hwnd hwnd, const RectI& rect) override;
  void SetTitle(Hwnd hwnd, const std::string& utf8) override;
  void SetTopmost(Hwnd, bool) override {}
  void SetRegion(Hwnd, const std::optional<gfx::Region>&) override {}
  void Present(Hwnd hwnd, const gfx::Bitmap& frame, const RectI& rect, bool layered,
               uint8_t alpha) override;
  void BeginMoveResize(Hwnd hwnd, int edge) override;
  void SetCursor(Hwnd over, int cursor_id) override;
  bool SetClipboardText(const std::string& utf8) override;
  std::optional<std::string> GetClipboardText() override;
  RectI WorkArea() override;

  // --- What the tests use ---
  void AdvanceTime(uint64_t ms);
  void SetWorkArea(const RectI& area);
  // What another program put on the clipboard (UTF-8, LF line ends).
  void SetForeignClipboard(std::optional<std::string> utf8);
  std::optional<std::string> ClipboardAsOthersSeeIt();

  // The window as last presented (its size; nothing presented: no pixels).
  gfx::Bitmap PresentedFrame(Hwnd hwnd);
  int PresentCount(Hwnd hwnd);
  uint8_t LastAlpha(Hwnd hwnd);
  // Keep a copy of every presented frame of `hwnd` from now on.
  void RecordFrames(Hwnd hwnd, bool on);
  std::vector<gfx::Bitmap> RecordedFrames(Hwnd hwnd);

  struct MoveResize {
    Hwnd hwnd;
    int edge;  // 0 move, else a WMSZ_* edge
  };
  std::vector<MoveResize> MoveResizeRequests();
  int CurrentCursor();
  std::string Title(Hwnd hwnd);

 private:
  struct Surface {
    RectI rect;
    std::string title;
    gfx::Bitmap frame;
    int presents = 0;
    uint8_t alpha = 255;
    bool record = false;
    std::vector<gfx::Bitmap> history;
  };
  std::mutex mutex_;
  uint64_t now_ = 100000;
  RectI work_area_{0, 0, 1280, 800};
  std::optional<std::string> clipboard_;
  std::map<Hwnd, Surface> surfaces_;
  std::vector<MoveResize> move_resize_;
  int cursor_ = 32512;
};

// Installs a headless backend and answers it (null when a backend is installed already).
HeadlessBackend* UseHeadlessWindowSystem();

// Input as a user makes it, for tests: screen coordinates, or window (client) coordinates
// with the *In forms. Each goes through the input entry.
namespace headless {
void MoveMouse(int x, int y);
void MouseDown(int x, int y, int button = 1);
void MouseUp(int x, int y, int button = 1);
void Click(int x, int y, int button = 1);
void DoubleClick(int x, int y);
void Wheel(int x, int y, int delta);
void MoveMouseIn(Hwnd hwnd, int x, int y);
void MouseDownIn(Hwnd hwnd, int x, int y, int button = 1);
void MouseUpIn(Hwnd hwnd, int x, int y, int button = 1);
void ClickIn(Hwnd hwnd, int x, int y, int button = 1);
void DoubleClickIn(Hwnd hwnd, int x, int y);
void KeyDown(int vk);
void KeyUp(int vk);
void PressKey(int vk);
void Type(std::string_view utf8);
}  // namespace headless

}  // namespace lw::ws
