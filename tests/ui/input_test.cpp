// Input routing on the headless window system: real input through the window layer.
#include <atomic>

#include "tests/ui/host_fixture.h"

namespace lw::test {
namespace {

using ws::headless::ClickIn;
using ws::headless::DoubleClickIn;
using ws::headless::MouseDownIn;
using ws::headless::MouseUpIn;
using ws::headless::MoveMouseIn;

TEST_F(HostTest, TheTopMostControlTakesTheClickAndADisabledOneLetsItThrough) {
  AttachPlain();
  Box below, above;
  below.Make(window_, {20, 40, 100, 50});
  above.Make(window_, {60, 60, 100, 50});
  std::vector<ControlHandle> clicked;
  host_->SetClickRoutine([&](ws::Hwnd, ControlHandle c, ws::WParam, ws::LParam, int kind) {
    clicked.push_back(c);
    EXPECT_EQ(kind, 100);
  });
  ClickIn(window_, 80, 70);
  Pump();
  EXPECT_EQ(above.Count(ev::kClick), 1);
  EXPECT_EQ(below.Count(ev::kClick), 0);
  above.Disabled(1);
  Pump();
  ClickIn(window_, 81, 70);
  Pump();
  EXPECT_EQ(below.Count(ev::kClick), 1);
  EXPECT_EQ(clicked, (std::vector<ControlHandle>{above.Handle(), below.Handle()}));
}

TEST_F(HostTest, ADoubleClickPressesTwiceAndRuns515Once) {
  AttachPlain();
  Box a, b;
  a.Make(window_, {20, 40, 100, 50});
  b.Make(window_, {200, 40, 100, 50});
  int on_515 = 0, on_513 = 0;
  a.BindEvent(ev::kDoubleClickBinding,
              [&](ControlHandle, ControlHandle, uint32_t code, ws::WParam w, ws::LParam) {
                EXPECT_EQ(code, uint32_t{ws::WM_LBUTTONDOWN});
                EXPECT_EQ(w, kDoubleClickMarker);
                ++on_515;
              });
  b.BindEvent(ws::WM_LBUTTONDOWN,
              [&](ControlHandle, ControlHandle, uint32_t, ws::WParam, ws::LParam) { ++on_513; });
  DoubleClickIn(window_, 50, 60);
  DoubleClickIn(window_, 250, 60);
  Pump();
  EXPECT_EQ(a.Count(ws::WM_LBUTTONDOWN), 2);
  EXPECT_EQ(a.Count(ws::WM_LBUTTONDOWN, kDoubleClickMarker), 1);
  EXPECT_EQ(on_515, 1);
  EXPECT_EQ(on_513, 2);
  // A plain 515 event is not what a 515 binding waits for.
  a.SendEvent(ev::kDoubleClickBinding, 0, 0);
  EXPECT_EQ(on_515, 1);
}

TEST_F(HostTest, PressInsideAndReleaseOutsideIsNoClick) {
  AttachPlain();
  Box a, b;
  a.Make(window_, {20, 40, 100, 50});
  b.Make(window_, {200, 40, 100, 50});
  int clicks = 0;
  host_->SetClickRoutine([&](ws::Hwnd, ControlHandle, ws::WParam, ws::LParam, int) { ++clicks; });
  MoveMouseIn(window_, 50, 60);
  MouseDownIn(window_, 50, 60);
  MoveMouseIn(window_, 250, 60);
  MouseUpIn(window_, 250, 60);
  Pump();
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(a.Count(ev::kClick), 0);
  EXPECT_EQ(a.Count(ev::kMouseLeave), 1);
  EXPECT_EQ(b.Count(ev::kMouseEnter), 1);
  // While the press was held, the move went to the pressed control, with its own handle.
  EXPECT_EQ(a.Count(ws::WM_MOUSEMOVE, a.Handle()), 1);
  EXPECT_EQ(host_->HoverControl(), b.Handle());
  EXPECT_EQ(ws::GetCapture(), 0u);
}

TEST_F(HostTest, PressingEmptySpaceDragsTheWindow) {
  AttachPlain();
  Box a;
  a.Make(window_, {20, 40, 100, 50});
  MouseDownIn(window_, 300, 200);
  Pump();
  auto requests = backend_->MoveResizeRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].hwnd, window_);
  EXPECT_EQ(requests[0].edge, 0);
  host_->Draggable(false);
  MouseUpIn(window_, 300, 200);
  MouseDownIn(window_, 300, 200);
  Pump();
  EXPECT_EQ(backend_->MoveResizeRequests().size(), 1u);
}

TEST_F(HostTest, TabWalksTheTopLevelControlsOnly) {
  AttachPlain();
  Box first, second, third, child, hidden;
  first.Make(window_, {10, 40, 50, 20});
  second.Make(window_, {70, 40, 100, 100});
  child.Make(second.Handle(), {80, 50, 20, 20});
  hidden.Make(window_, {200, 40, 20, 20});
  hidden.Visible(0);
  third.Make(window_, {250, 40, 50, 20});
  Pump();
  std::vector<ControlHandle> order;
  for (int i = 0; i < 4; ++i) {
    ws::headless::PressKey(ws::VK_TAB);
    Pump();
    order.push_back(host_->FocusedControl());
  }
  // With nothing focused the walk starts after the first control.
  EXPECT_EQ(order, (std::vector<ControlHandle>{second.Handle(), third.Handle(), first.Handle(),
                                               second.Handle()}));
  EXPECT_EQ(host_->FocusFrameControl(), second.Handle());
  EXPECT_EQ(second.Count(ev::kFocusGained), 2);
  // Enter clicks the focused control.
  int clicks = 0;
  host_->SetClickRoutine([&](ws::Hwnd, ControlHandle c, ws::WParam w, ws::LParam, int) {
    EXPECT_EQ(c, second.Handle());
    EXPECT_EQ(w, 0u);
    ++clicks;
  });
  ws::headless::PressKey(ws::VK_RETURN);
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(second.Count(ev::kClick), 1);
}

TEST_F(HostTest, AltAndAnAccessKeyInEitherCaseClick) {
  AttachPlain();
  Box save, off;
  save.Make(window_, {10, 40, 50, 20});
  off.Make(window_, {70, 40, 50, 20});
  ws::SendMessage(window_, hm::kSetAccessKey, save.Handle(), 'S');
  ws::SendMessage(window_, hm::kSetAccessKey, off.Handle(), 'O');
  off.Disabled(1);
  Pump();
  ws::SetFocus(window_);
  passed_on.clear();
  ws::headless::KeyDown(ws::VK_MENU);
  ws::headless::Type("s");
  ws::headless::Type("S");
  ws::headless::Type("o");  // a disabled control: nothing, and the message goes on
  ws::headless::KeyUp(ws::VK_MENU);
  Pump();
  EXPECT_EQ(save.Count(ev::kClick), 2);
  EXPECT_EQ(off.Count(ev::kClick), 0);
  EXPECT_EQ(Passed(ws::WM_SYSCHAR), 1);
  ws::SendMessage(window_, hm::kSetAccessKey, save.Handle(), 0);  // 0 removes the key
  EXPECT_TRUE(host_->AccessKeys().size() == 1u);
}

TEST_F(HostTest, ResizeZonesShowTheirCursorsAndStartSizing) {
  AttachParams p;
  p.frame_flags = 0;
  p.corner_style = 1;
  p.resizable = true;
  Attach(p);
  struct Zone {
    int x, y, cursor;
  };
  const int w = kWidth, h = kHeight;
  const Zone zones[] = {
      {3, 3, kCursorSizeNwse},     {w - 5, 3, kCursorSizeNesw},     {100, 7, kCursorSizeNs},
      {5, h - 5, kCursorSizeNesw}, {w - 9, h - 9, kCursorSizeNwse}, {100, h - 3, kCursorSizeNs},
      {7, 100, kCursorSizeWe},     {w - 9, 100, kCursorSizeWe},
  };
  for (const Zone& z : zones) {
    MoveMouseIn(window_, z.x, z.y);
    Pump();
    EXPECT_EQ(backend_->CurrentCursor(), z.cursor) << z.x << "," << z.y;
  }
  MoveMouseIn(window_, 100, 100);  // inside: the host's own cursor
  Pump();
  EXPECT_EQ(backend_->CurrentCursor(), kCursorArrow);
  MouseDownIn(window_, w - 3, h - 3);
  Pump();
  auto requests = backend_->MoveResizeRequests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().edge, ws::WMSZ_BOTTOMRIGHT);
  MouseUpIn(window_, w - 3, h - 3);
  // Never while zoomed.
  ws::ShowWindow(window_, ws::SW_MAXIMIZE);
  Pump();
  MoveMouseIn(window_, 3, 100);
  Pump();
  EXPECT_EQ(backend_->CurrentCursor(), kCursorArrow);
}

TEST_F(HostTest, AnEventFromAWorkerRunsOnTheWindowsThreadAndItsBlockIsFreedOnce) {
  AttachPlain();
  Box a;
  a.Make(window_, {20, 40, 100, 50});
  a.events.clear();
  a.threads.clear();
  std::atomic<bool> done{false};
  ws::LResult answer = 0;
  std::thread worker([&] {
    answer = a.SendEvent(20000, 5, 6);
    a.PostEvent(20001, 7, 8);
    done = true;
  });
  for (int i = 0; i < 10000 && !done; ++i) {
    Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  worker.join();
  Pump();
  EXPECT_EQ(answer, -1);
  ASSERT_EQ(a.Count(20000), 1);
  ASSERT_EQ(a.Count(20001), 1);
  for (auto id : a.threads)
    EXPECT_EQ(id, std::this_thread::get_id());
  // Every block went back to the host and was freed (a second free would show in the
  // sanitizer builds).
  EXPECT_EQ(host_->PendingBlocks(), 0u);
}

TEST_F(HostTest, AControlOperationFromAWorkerRunsOnTheWindowsThread) {
  AttachPlain();
  Box a(0xFF00FF00);
  a.Make(window_, {20, 40, 100, 50});
  a.threads.clear();
  std::atomic<bool> done{false};
  std::thread worker([&] {
    a.Move(30.0f, 45.0f, 60.0f, 30.0f);
    a.SetColor(0xFF0000FF);
    done = true;
  });
  for (int i = 0; i < 10000 && !done; ++i) {
    Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  worker.join();
  Pump();
  EXPECT_EQ(a.CurrentRect(), (RectF{30, 45, 60, 30}));
  for (auto id : a.threads)
    EXPECT_EQ(id, std::this_thread::get_id());
  EXPECT_EQ(Shown().GetPixel(40, 50), 0xFF0000FFu);
}

}  // namespace
}  // namespace lw::test
