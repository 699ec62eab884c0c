// host_demo: a host attached to a real X11 window, with the caption buttons 0x114 (close,
// minimize, menu), the program's background picture and a few simple controls. The close
// button closes it.
//
//   host_demo [--seconds N]
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "assets/embedded.h"
#include "base/codepage.h"
#include "ui/controls/ui_control.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/toolkit.h"
#include "ui/core/ui_host.h"
#include "ui/core/window/x11_backend.h"

using namespace lw;

namespace {

// A rounded tile with a caption; it lights up under the pointer and counts its clicks.
class Tile : public UiControl {
 public:
  Tile(const char16_t* text, gfx::Argb color) : text_(text), color_(color) {}
  ~Tile() override { Destroy(); }
  std::optional<ws::LResult> HandleEvent(uint32_t code, ws::WParam, ws::LParam) override {
    switch (code) {
      case ev::kRedraw:
        Paint();
        break;
      case ev::kMouseEnter:
        hot_ = true;
        Paint();
        break;
      case ev::kMouseLeave:
        hot_ = false;
        Paint();
        break;
      case ev::kClick:
        ++clicks_;
        Paint();
        break;
    }
    return -1;
  }

 private:
  void Paint() {
    PaintContext pc;
    if (!BeginPaint(pc)) return;
    RectF r{0, 0, pc.paint_rect.width, pc.paint_rect.height};
    gfx::Argb fill = hot_ ? (color_ | 0xFF000000u) : ((color_ & 0xFFFFFF) | 0xC0000000u);
    pc.graphics->FillPath(gfx::Brush::Solid(fill), RoundedPath(r, 10));
    DrawRounded(*pc.graphics, r, 10, 0x50000000);
    gfx::StringFormat f;
    f.flags = gfx::kNoWrap;
    f.alignment = gfx::StringAlignment::kCenter;
    f.line_alignment = gfx::StringAlignment::kCenter;
    std::u16string text = text_;
    if (clicks_) text += u" ×" + ToWide(std::to_string(clicks_));
    if (auto font = DefaultFont())
      pc.graphics->DrawString(text, *font, r, f, gfx::Brush::Solid(0xF0FFFFFF));
    EndPaint(pc);
  }
  std::u16string text_;
  gfx::Argb color_;
  bool hot_ = false;
  int clicks_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  int seconds = 0;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc) seconds = std::atoi(argv[++i]);
  }
  std::string error;
  if (!ws::UseX11WindowSystem(&error)) {
    std::fprintf(stderr, "host_demo: %s\n", error.c_str());
    return 1;
  }
  StartToolkit();
  RegisterToolkitClass();
  ws::CreateParams p;
  p.class_name = "Lw_Ui";
  p.title = Utf8ToGbk("霁桐软件");
  p.style = ws::WS_POPUP;
  p.rect = {50, 50, 50 + 414, 50 + 326};
  ws::Hwnd window = ws::CreateWindow(p);
  // The window's own procedure: closing it ends the program.
  ws::SetWindowProc(window,
                    [](ws::Hwnd h, ws::Message m, ws::WParam w, ws::LParam l) -> ws::LResult {
                      if (m == ws::WM_CLOSE) {
                        std::printf("WM_CLOSE\n");
                        std::fflush(stdout);
                        ws::PostQuitMessage(0);
                      }
                      return ws::DefWindowProc(h, m, w, l);
                    });
  UiHost host;
  AttachParams a;
  a.window = window;
  auto png = assets::WindowBackground();
  a.image.assign(png.begin(), png.end());
  a.frame_flags = 0x114;
  a.opacity = 255;
  host.Attach(a);
  host.SetClickRoutine([](ws::Hwnd, ControlHandle, ws::WParam, ws::LParam, int kind) {
    std::printf("click on a control of kind %d\n", kind);
    std::fflush(stdout);
  });
  Tile start(u"开始采集", 0x2F7FD8), stop(u"停止采集", 0xF25C05), third(u"窗口置顶", 0x3FA35A);
  start.Create(window, {272, 168, 130, 58}, 100);
  stop.Create(window, {272, 230, 130, 58}, 100);
  third.Create(window, {30, 120, 200, 80}, 100);
  host.Show(5);
  host.CloseEffect(2);
  if (seconds > 0) {
    ws::SetTimer(window, 1, static_cast<uint32_t>(seconds) * 1000,
                 [](ws::Hwnd h, ws::Message, uintptr_t, uint32_t) {
                   ws::PostMessage(h, ws::WM_CLOSE, 0, 0);
                 });
  }
  ws::Msg msg;
  while (ws::GetMessage(msg)) {
    ws::TranslateMessage(msg);
    ws::DispatchMessage(msg);
  }
  return 0;
}
