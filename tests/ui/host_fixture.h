// A host on the headless window system, and a simple control for the tests.
#pragma once

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "assets/embedded.h"
#include "ui/controls/ui_control.h"
#include "ui/core/toolkit.h"
#include "ui/core/ui_caption_button.h"
#include "ui/core/ui_host.h"
#include "ui/core/window/headless_backend.h"

namespace lw::test {

// A control that fills itself with one colour and writes down every event it gets.
class Box : public UiControl {
 public:
  explicit Box(gfx::Argb color = 0xFFFF0000) : color_(color) {}
  ~Box() override { Destroy(); }

  ControlHandle Make(uintptr_t parent, RectF rect, bool focusable = true) {
    return Create(parent, rect, 100, 1, focusable);
  }
  void SetColor(gfx::Argb color) {
    color_ = color;
    Repaint();
  }
  std::optional<ws::LResult> HandleEvent(uint32_t code, ws::WParam w, ws::LParam l) override {
    events.push_back({code, w, l});
    threads.push_back(std::this_thread::get_id());
    if (code == ev::kRedraw) {
      PaintContext pc;
      if (BeginPaint(pc)) {
        pc.graphics->Clear(color_);
        EndPaint(pc);
      }
    }
    if (code == ev::kDisabledOpacityQuery) return full_when_disabled ? 1 : -1;
    return -1;
  }
  int Count(uint32_t code, std::optional<ws::WParam> w = std::nullopt) const {
    int n = 0;
    for (const auto& e : events)
      n += e.code == code && (!w || e.w == *w);
    return n;
  }

  struct Event {
    uint32_t code;
    ws::WParam w;
    ws::LParam l;
  };
  std::vector<Event> events;
  std::vector<std::thread::id> threads;
  bool full_when_disabled = false;

 private:
  gfx::Argb color_;
};

class HostTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 414;
  static constexpr int kHeight = 326;

  void SetUp() override {
    backend_ = ws::UseHeadlessWindowSystem();
    ASSERT_NE(backend_, nullptr);
    StartToolkit();
    RegisterToolkitClass();
  }
  void TearDown() override {
    host_.reset();
    if (ws::IsWindow(window_)) ws::DestroyWindow(window_);
    ws::ShutdownWindowSystem();
  }

  // A window of the toolkit's class that records what reaches its own procedure.
  ws::Hwnd MakeWindow(uint32_t style = ws::WS_POPUP | ws::WS_MINIMIZEBOX | ws::WS_MAXIMIZEBOX,
                      RectI rect = {50, 50, 50 + kWidth, 50 + kHeight}) {
    ws::CreateParams p;
    p.class_name = "Lw_Ui";
    p.title = "host";
    p.style = style;
    p.rect = rect;
    window_ = ws::CreateWindow(p);
    ws::SetWindowProc(window_, [this](ws::Hwnd h, ws::Message m, ws::WParam w, ws::LParam l) {
      passed_on.push_back(m);
      return ws::DefWindowProc(h, m, w, l);
    });
    return window_;
  }

  UiHost& Attach(AttachParams p) {
    if (!window_) MakeWindow();
    p.window = window_;
    host_ = std::make_unique<UiHost>();
    EXPECT_TRUE(host_->Attach(p));
    ws::ShowWindow(window_, ws::SW_SHOW);
    ws::ProcessPendingMessages();
    return *host_;
  }
  // A plain host: no frame, no background; layered at `opacity` unless it is -1.
  UiHost& AttachPlain(int opacity = -1) {
    AttachParams p;
    p.frame_flags = 0;
    p.corner_style = 1;
    p.opacity = opacity;
    return Attach(p);
  }

  gfx::Bitmap Shown() { return backend_->PresentedFrame(window_); }
  void Pump() { ws::ProcessPendingMessages(); }
  int Passed(ws::Message m) const {
    int n = 0;
    for (ws::Message x : passed_on)
      n += x == m;
    return n;
  }

  ws::HeadlessBackend* backend_ = nullptr;
  ws::Hwnd window_ = 0;
  std::unique_ptr<UiHost> host_;
  std::vector<ws::Message> passed_on;
};

}  // namespace lw::test
