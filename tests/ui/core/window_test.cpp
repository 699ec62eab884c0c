// The window system's core on the headless backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "base/codepage.h"
#include "ui/core/window/headless_backend.h"
#include "ui/core/window/tooltip.h"

namespace lw::ws {
namespace {

using namespace std::chrono_literals;

struct Seen {
  Message message;
  WParam wparam;
  LParam lparam;
  std::string ime;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_ = UseHeadlessWindowSystem();
    ASSERT_NE(backend_, nullptr);
    WindowClassInfo cls;
    cls.name = "Test";
    cls.proc = [this](Hwnd h, Message m, WParam w, LParam l) -> LResult {
      if (m != WM_SETCURSOR && m != WM_NCACTIVATE && m != WM_GETMINMAXINFO) {
        seen_[h].push_back({m, w, l, m == WM_IME_COMPOSITION ? ImeResultString(h) : ""});
      }
      return DefWindowProc(h, m, w, l);
    };
    ASSERT_TRUE(RegisterClass(cls));
  }
  void TearDown() override { ShutdownWindowSystem(); }

  Hwnd Make(RectI rect, uint32_t ex_style = 0) {
    CreateParams p;
    p.class_name = "Test";
    p.rect = rect;
    p.style = WS_POPUP | WS_VISIBLE;
    p.ex_style = ex_style;
    Hwnd h = CreateWindow(p);
    ProcessPendingMessages();
    seen_[h].clear();
    return h;
  }
  // The messages a window received, without those of activation and focus.
  std::vector<Message> Messages(Hwnd h) {
    std::vector<Message> out;
    for (const Seen& s : seen_[h]) {
      if (s.message != WM_ACTIVATE && s.message != WM_SETFOCUS && s.message != WM_KILLFOCUS) {
        out.push_back(s.message);
      }
    }
    return out;
  }
  // Serves this thread's messages until `done` (at most 10 s of real time): other threads
  // are waited for in real time, whatever the virtual clock does.
  static bool PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 10000; ++i) {
      ProcessPendingMessages();
      if (done()) return true;
      std::this_thread::sleep_for(1ms);
    }
    return false;
  }

  HeadlessBackend* backend_ = nullptr;
  std::map<Hwnd, std::vector<Seen>> seen_;
};

TEST(WindowSystem, NothingWithoutAChosenBackend) {
  ShutdownWindowSystem();
  EXPECT_FALSE(HasBackend());
  WindowClassInfo cls;
  cls.name = "Lone";
  RegisterClass(cls);
  CreateParams p;
  p.class_name = "Lone";
  EXPECT_EQ(CreateWindow(p), 0u);
}

TEST_F(WindowTest, SendingFromAnotherThreadRunsOnTheOwnerAndAnswers) {
  std::thread::id ran_on;
  WindowClassInfo cls;
  cls.name = "Answer";
  cls.proc = [&](Hwnd h, Message m, WParam w, LParam l) -> LResult {
    if (m == WM_USER) {
      ran_on = std::this_thread::get_id();
      return static_cast<LResult>(w * 2 + l);
    }
    return DefWindowProc(h, m, w, l);
  };
  RegisterClass(cls);
  CreateParams p;
  p.class_name = "Answer";
  Hwnd h = CreateWindow(p);
  // On its own thread: called at once.
  EXPECT_EQ(SendMessage(h, WM_USER, 3, 1), 7);
  EXPECT_EQ(ran_on, std::this_thread::get_id());

  std::atomic<LResult> answer{0};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    answer = SendMessage(h, WM_USER, 20, 2);
    done = true;
  });
  bool finished = PumpUntil([&] { return done.load(); });
  worker.join();
  EXPECT_TRUE(finished);
  EXPECT_EQ(answer, 42);
  EXPECT_EQ(ran_on, std::this_thread::get_id());
}

TEST_F(WindowTest, PostedMessagesArriveInOrderFromAnyThread) {
  Hwnd h = Make({0, 0, 10, 10});
  PostMessage(h, WM_USER + 1, 0, 0);
  std::thread([h] {
    PostMessage(h, WM_USER + 2, 0, 0);
    PostMessage(h, WM_USER + 3, 0, 0);
  }).join();
  PostMessage(h, WM_USER + 4, 0, 0);
  EXPECT_FALSE(PostMessage(0x999, WM_USER, 0, 0));
  ProcessPendingMessages();
  EXPECT_EQ(Messages(h),
            (std::vector<Message>{WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_USER + 4}));
}

TEST_F(WindowTest, ALoopInsideAHandlerServesTheThread) {
  Hwnd outer = Make({0, 0, 10, 10});
  Hwnd inner = Make({20, 20, 30, 30});
  std::vector<std::string> order;
  SetWindowProc(outer, [&](Hwnd h, Message m, WParam w, LParam l) -> LResult {
    if (m == WM_USER) {
      order.push_back("outer begins");
      PostMessage(inner, WM_USER + 1, 0, 0);
      PostMessage(inner, WM_CLOSE, 0, 0);  // ends the nested loop, as a menu's does
      Msg msg;
      while (IsWindow(inner) && GetMessage(msg))
        DispatchMessage(msg);
      order.push_back("outer ends");
      return 0;
    }
    return DefWindowProc(h, m, w, l);
  });
  SetWindowProc(inner, [&](Hwnd h, Message m, WParam w, LParam l) -> LResult {
    if (m == WM_USER + 1) order.push_back("inner");
    return DefWindowProc(h, m, w, l);
  });
  PostMessage(outer, WM_USER, 0, 0);
  PostMessage(outer, WM_USER + 5, 0, 0);
  ProcessPendingMessages();
  EXPECT_EQ(order, (std::vector<std::string>{"outer begins", "inner", "outer ends"}));
  EXPECT_FALSE(IsWindow(inner));
}

TEST_F(WindowTest, TimersFireByIdAndStopWhenKilled) {
  Hwnd h = Make({0, 0, 10, 10});
  int routine_ticks = 0;
  SetTimer(h, 7, 50);
  SetTimer(h, 8, 120, [&](Hwnd, Message, uintptr_t id, uint32_t) {
    EXPECT_EQ(id, 8u);
    ++routine_ticks;
  });
  for (int i = 0; i < 24; ++i) {  // 240 ms in 10 ms steps
    backend_->AdvanceTime(10);
    ProcessPendingMessages();
  }
  int sevens = 0;
  for (const Seen& s : seen_[h]) {
    if (s.message == WM_TIMER) {
      EXPECT_EQ(s.wparam, 7u);  // a timer with a routine does not reach the window
      ++sevens;
    }
  }
  EXPECT_EQ(sevens, 4);
  EXPECT_EQ(routine_ticks, 2);
  EXPECT_TRUE(KillTimer(h, 7));
  EXPECT_FALSE(KillTimer(h, 7));
  seen_[h].clear();
  backend_->AdvanceTime(500);
  ProcessPendingMessages();
  EXPECT_TRUE(Messages(h).empty());
}

TEST_F(WindowTest, WaitingForADeadlineRunsTheTimersOnTheWay) {
  Hwnd h = Make({0, 0, 10, 10});
  int ticks = 0;
  SetTimer(h, 1, 20, [&](Hwnd, Message, uintptr_t, uint32_t) { ++ticks; });
  uint64_t start = GetTickCount();
  EXPECT_FALSE(ProcessMessagesUntil(start + 100));
  EXPECT_GE(GetTickCount(), start + 100);
  EXPECT_EQ(ticks, 5);
}

TEST_F(WindowTest, CaptureKeepsThePointer) {
  Hwnd a = Make({0, 0, 100, 100});
  Hwnd b = Make({200, 0, 300, 100});
  headless::MouseDown(50, 50);
  SetCapture(a);
  headless::MoveMouse(250, 20);  // over b, but a holds the capture
  headless::MouseUp(250, 20);
  ProcessPendingMessages();
  EXPECT_TRUE(Messages(b).empty());
  ASSERT_GE(seen_[a].size(), 3u);
  const Seen& move = seen_[a][seen_[a].size() - 2];
  EXPECT_EQ(move.message, WM_MOUSEMOVE);
  EXPECT_EQ(XOf(move.lparam), 250);  // relative to a, outside it
  EXPECT_EQ(YOf(move.lparam), 20);
  EXPECT_EQ(GetCapture(), a);
  ReleaseCapture();
  headless::MoveMouse(251, 20);
  ProcessPendingMessages();
  EXPECT_EQ(Messages(b), std::vector<Message>{WM_MOUSEMOVE});
  auto move_b = std::find_if(seen_[b].begin(), seen_[b].end(),
                             [](const Seen& s) { return s.message == WM_MOUSEMOVE; });
  ASSERT_NE(move_b, seen_[b].end());
  EXPECT_EQ(XOf(move_b->lparam), 51);
}

TEST_F(WindowTest, DoubleClicksAndMouseLeave) {
  Hwnd a = Make({0, 0, 100, 100});
  Hwnd b = Make({100, 0, 200, 100});
  headless::DoubleClick(10, 10);
  ProcessPendingMessages();
  EXPECT_EQ(Messages(a), (std::vector<Message>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
                                               WM_MOUSEMOVE, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
  seen_[a].clear();
  headless::Click(10, 10);
  backend_->AdvanceTime(DoubleClickTime() + 1);  // too slow for a double click
  headless::Click(10, 10);
  ProcessPendingMessages();
  EXPECT_EQ(Messages(a), (std::vector<Message>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
                                               WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
  seen_[a].clear();
  TrackMouseLeave(a);
  headless::MoveMouse(150, 10);
  ProcessPendingMessages();
  EXPECT_EQ(Messages(a), std::vector<Message>{WM_MOUSELEAVE});
  EXPECT_EQ(Messages(b), std::vector<Message>{WM_MOUSEMOVE});
}

TEST_F(WindowTest, TextArrivesAsCharactersAndInputMethodResults) {
  Hwnd h = Make({0, 0, 10, 10});
  SetFocus(h);
  seen_[h].clear();
  headless::Type("a长尾b\t");
  ProcessPendingMessages();
  ASSERT_EQ(seen_[h].size(), 3u);
  EXPECT_EQ(seen_[h][0].message, WM_CHAR);
  EXPECT_EQ(seen_[h][0].wparam, WParam{'a'});
  EXPECT_EQ(seen_[h][1].message, WM_IME_COMPOSITION);
  EXPECT_EQ(seen_[h][1].lparam, GCS_RESULTSTR);
  EXPECT_EQ(seen_[h][1].ime, Utf8ToGbk("长尾"));
  EXPECT_EQ(seen_[h][2].wparam, WParam{'b'});
  EXPECT_EQ(ImeResultString(h), "");  // only while it is dispatched
  seen_[h].clear();
  uintptr_t token = ImeDisable(h);
  headless::Type("中");
  ProcessPendingMessages();
  EXPECT_TRUE(seen_[h].empty());
  ImeRestore(h, token);
  EXPECT_TRUE(ImeEnabled(h));
}

TEST_F(WindowTest, KeysAndAltMakeSystemMessages) {
  Hwnd h = Make({0, 0, 10, 10});
  SetFocus(h);
  seen_[h].clear();
  headless::PressKey('A');
  headless::KeyDown(VK_MENU);
  EXPECT_LT(GetKeyState(VK_MENU), 0);
  headless::KeyDown('S');
  headless::Type("s");
  headless::KeyUp('S');
  headless::KeyUp(VK_MENU);
  EXPECT_EQ(GetKeyState(VK_MENU), 0);
  ProcessPendingMessages();
  EXPECT_EQ(Messages(h), (std::vector<Message>{WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYDOWN,
                                               WM_SYSCHAR, WM_SYSKEYUP, WM_KEYUP}));
  EXPECT_EQ(seen_[h][4].wparam, WParam{'s'});
}

TEST_F(WindowTest, PropertiesLiveWithTheWindow) {
  Hwnd h = Make({0, 0, 10, 10});
  EXPECT_TRUE(SetProp(h, "Lw_Wnd_Control", 1234));
  EXPECT_EQ(GetProp(h, "Lw_Wnd_Control"), 1234u);
  EXPECT_EQ(GetProp(h, "other"), 0u);
  EXPECT_EQ(RemoveProp(h, "Lw_Wnd_Control"), 1234u);
  EXPECT_EQ(GetProp(h, "Lw_Wnd_Control"), 0u);
  SetProp(h, "x", 5);
  DestroyWindow(h);
  EXPECT_EQ(GetProp(h, "x"), 0u);
  EXPECT_FALSE(SetProp(h, "x", 5));
}

TEST_F(WindowTest, ClipboardLineEndsMeetOtherPrograms) {
  EXPECT_TRUE(SetClipboardText(Utf8ToGbk("连衣裙\r\n女")));
  EXPECT_EQ(*backend_->ClipboardAsOthersSeeIt(), "连衣裙\n女");
  backend_->SetForeignClipboard("a\nb\r\nc\n");
  EXPECT_EQ(*GetClipboardText(), "a\r\nb\r\nc\r\n");
  backend_->SetForeignClipboard(std::nullopt);
  EXPECT_FALSE(GetClipboardText().has_value());
}

TEST_F(WindowTest, MaximiseAsksForTheLimitsAndRestores) {
  Hwnd h = Make({50, 50, 464, 376});
  SetWindowProc(h, [&](Hwnd w, Message m, WParam wp, LParam l) -> LResult {
    if (m == WM_GETMINMAXINFO) {
      auto* mm = reinterpret_cast<MinMaxInfo*>(l);
      RectI work = GetWorkArea();
      mm->max_size = {work.width() + 14, work.height() + 14};
      mm->max_position = {work.left - 7, work.top - 7};
      return 0;
    }
    seen_[w].push_back({m, wp, l, ""});
    return DefWindowProc(w, m, wp, l);
  });
  backend_->SetWorkArea({0, 0, 1000, 700});
  ShowWindow(h, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(h));
  EXPECT_EQ(GetWindowRect(h), (RectI{-7, -7, 1007, 707}));
  bool sized = false;
  for (const Seen& s : seen_[h]) {
    if (s.message == WM_SIZE && s.wparam == SIZE_MAXIMIZED && LoWord(s.lparam) == 1014)
      sized = true;
  }
  EXPECT_TRUE(sized);
  SendMessage(h, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(h));
  EXPECT_EQ(GetWindowRect(h), (RectI{50, 50, 464, 376}));
  SendMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(h));
}

TEST_F(WindowTest, FramesAreReadBack) {
  Hwnd plain = Make({0, 0, 4, 4});
  gfx::Bitmap frame(4, 4);
  frame.SetPixel(1, 1, 0xFFFF0000);
  frame.SetPixel(3, 3, 0xFF00FF00);
  PresentFrame(plain, frame, RectI{0, 0, 2, 2});  // only that part of a plain window
  gfx::Bitmap shown = backend_->PresentedFrame(plain);
  EXPECT_EQ(shown.GetPixel(1, 1), 0xFFFF0000u);
  EXPECT_EQ(shown.GetPixel(3, 3), 0u);
  Hwnd layered = Make({0, 0, 4, 4}, WS_EX_LAYERED);
  PresentFrame(layered, frame, RectI{0, 0, 1, 1}, 128);  // a layered window takes all of it
  EXPECT_EQ(backend_->PresentedFrame(layered).GetPixel(3, 3), 0xFF00FF00u);
  EXPECT_EQ(backend_->LastAlpha(layered), 128);
  EXPECT_EQ(backend_->PresentCount(layered), 1);
}

TEST_F(WindowTest, DestroyingFromAnotherThreadHappensOnTheOwner) {
  Hwnd h = Make({0, 0, 10, 10});
  std::thread::id destroyed_on;
  SetWindowProc(h, [&](Hwnd w, Message m, WParam wp, LParam l) -> LResult {
    if (m == WM_DESTROY) destroyed_on = std::this_thread::get_id();
    return DefWindowProc(w, m, wp, l);
  });
  std::atomic<bool> done{false};
  std::thread worker([&] {
    DestroyWindow(h);
    done = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
  worker.join();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(destroyed_on, std::this_thread::get_id());
}

TEST_F(WindowTest, ActivationAndFocus) {
  Hwnd a = Make({0, 0, 100, 100});
  Hwnd b = Make({200, 0, 300, 100});
  SetForegroundWindow(a);
  seen_[a].clear();
  seen_[b].clear();
  headless::Click(210, 10);  // a click activates the window under it
  ProcessPendingMessages();
  EXPECT_EQ(GetForegroundWindow(), b);
  EXPECT_EQ(GetFocus(), b);
  ASSERT_FALSE(seen_[a].empty());
  EXPECT_EQ(seen_[a][0].message, WM_ACTIVATE);  // the first thing a hears
  EXPECT_EQ(seen_[a][0].wparam, WA_INACTIVE);
  EXPECT_EQ(static_cast<Hwnd>(seen_[a][0].lparam), b);
  EXPECT_EQ(WindowFromPoint(210, 10), b);
  EXPECT_EQ(WindowFromPoint(150, 10), 0u);
}

TEST_F(WindowTest, CaptionDragsAndSizingGoToTheSystem) {
  Hwnd h = Make({0, 0, 100, 100});
  SendMessage(h, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  SendMessage(h, WM_SYSCOMMAND, SC_SIZE + WMSZ_BOTTOMRIGHT, 0);
  auto requests = backend_->MoveResizeRequests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].edge, 0);
  EXPECT_EQ(requests[1].edge, WMSZ_BOTTOMRIGHT);
}

TEST_F(WindowTest, ATooltipShowsWhenThePointerRestsOnItsTool) {
  Hwnd owner = Make({100, 100, 300, 200});
  auto family = gfx::FontFamily::FromName(u"宋体");
  ASSERT_TRUE(family);
  Tooltip tip(owner, std::make_shared<gfx::Font>(*family, 12.0f, gfx::kRegular));
  tip.AddTool({10, 10, 60, 40}, Utf8ToGbk("提示文字"));
  SetWindowProc(owner, [&](Hwnd h, Message m, WParam w, LParam l) -> LResult {
    if (m >= WM_MOUSEMOVE && m <= WM_MOUSEWHEEL) tip.RelayMouse(m, XOf(l), YOf(l));
    return DefWindowProc(h, m, w, l);
  });
  headless::MoveMouseIn(owner, 20, 20);
  ProcessPendingMessages();
  EXPECT_FALSE(tip.Visible());  // not before the pointer has rested
  backend_->AdvanceTime(Tooltip::kShowDelayMs + 10);
  ProcessPendingMessages();
  ASSERT_TRUE(tip.Visible());
  RectI r = GetWindowRect(tip.window());
  EXPECT_GE(r.left, 120);  // near the pointer, below it
  EXPECT_GE(r.top, 120);
  gfx::Bitmap shown = backend_->PresentedFrame(tip.window());
  ASSERT_EQ(shown.Width(), r.width());
  int dark = 0;
  for (int y = 2; y < shown.Height() - 2; ++y) {
    for (int x = 2; x < shown.Width() - 2; ++x)
      dark += gfx::RedOf(shown.GetPixel(x, y)) < 100;
  }
  EXPECT_GT(dark, 20);                    // the text is drawn
  headless::MoveMouseIn(owner, 150, 80);  // off the tool
  ProcessPendingMessages();
  EXPECT_FALSE(tip.Visible());
  tip.DeleteTool();
  headless::MoveMouseIn(owner, 20, 20);
  backend_->AdvanceTime(1000);
  ProcessPendingMessages();
  EXPECT_FALSE(tip.Visible());
}

}  // namespace
}  // namespace lw::ws
