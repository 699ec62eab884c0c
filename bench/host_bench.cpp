// The host's painting costs: a full render of the main window's 414 × 326 frame with ten
// small controls, recomposing one control's rectangle, and one present (headless backend).
#include <benchmark/benchmark.h>

#include <vector>

#include "assets/embedded.h"
#include "ui/controls/ui_control.h"
#include "ui/core/toolkit.h"
#include "ui/core/ui_host.h"
#include "ui/core/window/headless_backend.h"

namespace lw {
namespace {

class Swatch : public UiControl {
 public:
  explicit Swatch(gfx::Argb color) : color_(color) {}
  ~Swatch() override { Destroy(); }
  std::optional<ws::LResult> HandleEvent(uint32_t code, ws::WParam, ws::LParam) override {
    if (code == ev::kRedraw) {
      PaintContext pc;
      if (BeginPaint(pc)) {
        pc.graphics->Clear(color_);
        EndPaint(pc);
      }
    }
    return -1;
  }

 private:
  gfx::Argb color_;
};

struct MainWindow {
  MainWindow() {
    ws::UseHeadlessWindowSystem();
    StartToolkit();
    RegisterToolkitClass();
    ws::CreateParams p;
    p.class_name = "Lw_Ui";
    p.style = ws::WS_POPUP;
    p.rect = {50, 50, 50 + 414, 50 + 326};
    window = ws::CreateWindow(p);
    AttachParams a;
    a.window = window;
    auto png = assets::WindowBackground();
    a.image.assign(png.begin(), png.end());
    a.frame_flags = 0x114;
    a.opacity = 255;
    host.Attach(a);
    for (int i = 0; i < 10; ++i) {
      auto s = std::make_unique<Swatch>(0xC0000000u | static_cast<uint32_t>(0x203040 * (i + 1)));
      s->Create(window, {float(20 + 36 * i), 60.0f, 30.0f, 30.0f}, 100);
      swatches.push_back(std::move(s));
    }
    ws::ProcessPendingMessages();
  }
  ~MainWindow() {
    swatches.clear();
    ws::DestroyWindow(window);
    ws::ShutdownWindowSystem();
  }
  ws::Hwnd window;
  UiHost host;
  std::vector<std::unique_ptr<Swatch>> swatches;
};

void BM_RenderBackground(benchmark::State& state) {
  MainWindow w;
  for (auto _ : state)
    w.host.RenderBackground(std::nullopt, -1, -1, true);
}
BENCHMARK(BM_RenderBackground)->Unit(benchmark::kMicrosecond);

void BM_RecomposeOneControl(benchmark::State& state) {
  MainWindow w;
  RectF r = w.swatches[3]->CurrentRect();
  for (auto _ : state)
    w.host.RedrawRect(r, false);
}
BENCHMARK(BM_RecomposeOneControl)->Unit(benchmark::kMicrosecond);

void BM_PresentWholeFrame(benchmark::State& state) {
  MainWindow w;
  for (auto _ : state)
    w.host.Present();
}
BENCHMARK(BM_PresentWholeFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lw
