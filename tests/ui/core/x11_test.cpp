// The X11 backend on an X server of the test's own (Xvfb), driven with XTest as a user would.
// GoogleTest and the project's headers come first: Xlib's macros (None, Bool, ...) would
// break them.
// clang-format off
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "base/codepage.h"
#include "tests/support/test_support.h"
#include "assets/embedded.h"
#include "ui/core/gfx/graphics.h"
#include "ui/core/toolkit.h"
#include "ui/core/ui_host.h"
#include "ui/core/window/window_system.h"
#include "ui/core/window/x11_backend.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on

namespace lw::ws {
namespace {

using namespace std::chrono_literals;

struct Seen {
  Message message;
  WParam wparam;
  LParam lparam;
  std::string ime;
};

class X11Test : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = std::make_unique<test::XServer>();
    if (!server_->running()) GTEST_SKIP() << "no X server can be started: " << server_->why();
    std::string error;
    ASSERT_TRUE(UseX11WindowSystem(&error)) << error;
    probe_ = XOpenDisplay(server_->display().c_str());
    ASSERT_NE(probe_, nullptr);
    WindowClassInfo cls;
    cls.name = "Lw_Ui";
    cls.proc = [this](Hwnd h, Message m, WParam w, LParam l) -> LResult {
      seen_.push_back({m, w, l, m == WM_IME_COMPOSITION ? ImeResultString(h) : ""});
      if (m == WM_PAINT) {
        BeginPaint(h);
        EndPaint(h);
        if (!frame_.IsNull()) PresentFrame(h, frame_);
        return 0;
      }
      return DefWindowProc(h, m, w, l);
    };
    RegisterClass(cls);
  }
  void TearDown() override {
    if (probe_) XCloseDisplay(probe_);
    ShutdownWindowSystem();
  }

  Hwnd Make(RectI rect, uint32_t ex_style = 0) {
    CreateParams p;
    p.class_name = "Lw_Ui";
    p.title = Utf8ToGbk("测试窗口");
    p.style = WS_POPUP;
    p.ex_style = ex_style;
    p.rect = rect;
    Hwnd h = CreateWindow(p);
    ShowWindow(h, SW_SHOW);
    // Painted once, and holding the X server's keyboard focus (what typed keys need).
    Window x = FindXWindow("测试窗口");
    PumpUntil(
        [&] {
          Window focus;
          int revert;
          XGetInputFocus(probe_, &focus, &revert);
          return Saw(WM_PAINT) && Saw(WM_SETFOCUS) && focus == x;
        },
        2000);
    seen_.clear();
    return h;
  }
  bool Saw(Message m) {
    for (const Seen& s : seen_) {
      if (s.message == m) return true;
    }
    return false;
  }
  bool Saw(Message m, WParam w) {
    for (const Seen& s : seen_) {
      if (s.message == m && s.wparam == w) return true;
    }
    return false;
  }
  const Seen* First(Message m) {
    for (const Seen& s : seen_) {
      if (s.message == m) return &s;
    }
    return nullptr;
  }
  // Serves the window system until `done` (at most 5 s).
  bool PumpUntil(const std::function<bool()>& done, uint64_t ms = 5000) {
    return ProcessMessagesUntil(GetTickCount() + ms, done);
  }
  void Pump(uint64_t ms) { ProcessMessagesUntil(GetTickCount() + ms); }

  void FakeKey(KeySym sym, bool down) {
    XTestFakeKeyEvent(probe_, XKeysymToKeycode(probe_, sym), down, CurrentTime);
    XFlush(probe_);
  }
  void FakeClick(int x, int y) {
    XTestFakeMotionEvent(probe_, DefaultScreen(probe_), x, y, CurrentTime);
    XTestFakeButtonEvent(probe_, 1, True, CurrentTime);
    XTestFakeButtonEvent(probe_, 1, False, CurrentTime);
    XFlush(probe_);
  }
  uint32_t ScreenPixel(int x, int y) {
    XImage* image = XGetImage(probe_, DefaultRootWindow(probe_), x, y, 1, 1, AllPlanes, ZPixmap);
    uint32_t p = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFF;
    XDestroyImage(image);
    return p;
  }
  // Waits (at most 5 s, serving messages) until a window manager has taken `w` in.
  bool WaitForWmState(Window w) {
    Atom wm_state = XInternAtom(probe_, "WM_STATE", False);
    for (int i = 0; i < 500; ++i) {
      int n = 0;
      Atom* props = XListProperties(probe_, w, &n);
      bool taken = false;
      for (int k = 0; k < n; ++k)
        taken |= props[k] == wm_state;
      if (props) XFree(props);
      if (taken) return true;
      Pump(10);
    }
    return false;
  }
  // The atoms of a property of one of our windows, as another client reads it.
  std::vector<Atom> AtomsOf(Window w, const char* property) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::vector<Atom> out;
    if (XGetWindowProperty(probe_, w, XInternAtom(probe_, property, False), 0, 64, False, XA_ATOM,
                           &type, &format, &count, &after, &data) == Success &&
        data) {
      auto* a = reinterpret_cast<Atom*>(data);
      out.assign(a, a + count);
    }
    if (data) XFree(data);
    return out;
  }
  // Our window, found by its title among the server's windows.
  Window FindXWindow(const std::string& title_utf8) {
    std::function<Window(Window)> walk = [&](Window w) -> Window {
      Atom type;
      int format;
      unsigned long count, after;
      unsigned char* data = nullptr;
      Window found = 0;
      if (XGetWindowProperty(probe_, w, XInternAtom(probe_, "_NET_WM_NAME", False), 0, 256, False,
                             AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
          data) {
        if (std::string(reinterpret_cast<char*>(data), count) == title_utf8) found = w;
        XFree(data);
      }
      if (found) return found;
      Window root, parent, *children = nullptr;
      unsigned int n = 0;
      if (XQueryTree(probe_, w, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n && !found; ++i)
          found = walk(children[i]);
        if (children) XFree(children);
      }
      return found;
    };
    return walk(DefaultRootWindow(probe_));
  }

  std::unique_ptr<test::XServer> server_;
  Display* probe_ = nullptr;
  std::vector<Seen> seen_;
  gfx::Bitmap frame_;
};

TEST_F(X11Test, AWindowShowsThePresentedFrame) {
  frame_ = gfx::Bitmap(200, 100);
  {
    gfx::Graphics g(frame_);
    g.Clear(0xFFCC3322);
    g.FillRectangle(gfx::Brush::Solid(0xFF2255EE), {100, 0, 100, 100});
  }
  Hwnd h = Make({60, 40, 260, 140});
  PresentFrame(h, frame_);
  Pump(100);
  EXPECT_EQ(ScreenPixel(70, 50), 0xCC3322u);
  EXPECT_EQ(ScreenPixel(250, 130), 0x2255EEu);
  EXPECT_NE(ScreenPixel(270, 50), 0x2255EEu);  // outside the window
}

TEST_F(X11Test, ClicksAndKeysArriveAsMessages) {
  Hwnd h = Make({100, 100, 300, 200});
  FakeClick(150, 130);
  FakeKey(XK_a, true);
  FakeKey(XK_a, false);
  FakeKey(XK_Left, true);
  FakeKey(XK_Left, false);
  ASSERT_TRUE(PumpUntil([&] { return Saw(WM_KEYUP, VK_LEFT); }));
  const Seen* down = First(WM_LBUTTONDOWN);
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(XOf(down->lparam), 50);
  EXPECT_EQ(YOf(down->lparam), 30);
  EXPECT_TRUE(Saw(WM_LBUTTONUP));
  EXPECT_TRUE(Saw(WM_MOUSEMOVE));
  EXPECT_EQ(First(WM_KEYDOWN)->wparam, WParam{'A'});
  EXPECT_EQ(First(WM_CHAR)->wparam, WParam{'a'});
  // The arrow key has no character.
  int chars = 0;
  for (const Seen& s : seen_)
    chars += s.message == WM_CHAR;
  EXPECT_EQ(chars, 1);
  (void)h;
}

TEST_F(X11Test, ADoubleClickBecomesWmLButtonDblClk) {
  Make({100, 100, 300, 200});
  FakeClick(120, 120);
  FakeClick(120, 120);
  ASSERT_TRUE(PumpUntil([&] { return Saw(WM_LBUTTONDBLCLK); }));
  int downs = 0;
  for (const Seen& s : seen_)
    downs += s.message == WM_LBUTTONDOWN;
  EXPECT_EQ(downs, 1);
}

TEST_F(X11Test, TypedChineseArrivesAsAnInputMethodResultInGbk) {
  Make({100, 100, 300, 200});
  // A free key code made to type "长" (U+957F), as an input method would commit it.
  int min_code, max_code;
  XDisplayKeycodes(probe_, &min_code, &max_code);
  KeyCode spare = 0;
  for (int code = max_code; code >= min_code && !spare; --code) {
    int per;
    KeySym* syms = XGetKeyboardMapping(probe_, static_cast<KeyCode>(code), 1, &per);
    if (syms && syms[0] == NoSymbol) spare = static_cast<KeyCode>(code);
    if (syms) XFree(syms);
  }
  ASSERT_NE(spare, 0);
  KeySym chang = 0x1000000 + 0x957F;
  XChangeKeyboardMapping(probe_, spare, 1, &chang, 1);
  XSync(probe_, False);
  Pump(100);  // the mapping change reaches the program
  XTestFakeKeyEvent(probe_, spare, True, CurrentTime);
  XTestFakeKeyEvent(probe_, spare, False, CurrentTime);
  XFlush(probe_);
  ASSERT_TRUE(PumpUntil([&] { return Saw(WM_IME_COMPOSITION); }));
  EXPECT_EQ(First(WM_IME_COMPOSITION)->ime, Utf8ToGbk("长"));
  EXPECT_EQ(First(WM_IME_COMPOSITION)->lparam, GCS_RESULTSTR);
  EXPECT_FALSE(Saw(WM_CHAR));
}

TEST_F(X11Test, AltMakesSystemKeys) {
  Make({100, 100, 300, 200});
  FakeKey(XK_Alt_L, true);
  FakeKey(XK_s, true);
  FakeKey(XK_s, false);
  FakeKey(XK_Alt_L, false);
  ASSERT_TRUE(PumpUntil([&] { return Saw(WM_KEYUP, VK_MENU) || Saw(WM_SYSKEYUP, VK_MENU); }));
  const Seen* sys = nullptr;
  for (const Seen& s : seen_) {
    if (s.message == WM_SYSKEYDOWN && s.wparam == WParam{'S'}) sys = &s;
  }
  EXPECT_NE(sys, nullptr);
  ASSERT_NE(First(WM_SYSCHAR), nullptr);
  EXPECT_EQ(First(WM_SYSCHAR)->wparam, WParam{'s'});
}

TEST_F(X11Test, ClipboardTextRoundTripsWithAnotherClient) {
  Make({100, 100, 300, 200});
  ASSERT_TRUE(SetClipboardText(Utf8ToGbk("连衣裙\r\n女")));
  {
    test::ChildProcess xclip({"xclip", "-o", "-selection", "clipboard"});
    ASSERT_TRUE(xclip.started());
    // The program answers the other client's request while it serves its messages.
    std::atomic<bool> ended{false};
    std::thread waiter([&] {
      xclip.Wait();
      ended = true;
    });
    PumpUntil([&] { return ended.load(); });
    waiter.join();
    EXPECT_EQ(xclip.Stdout(), "连衣裙\n女");
  }
  test::TempDir dir;
  test::WriteFile(dir / "in.txt", "a\nb\r\n中");
  EXPECT_EQ(test::RunProgram({"xclip", "-selection", "clipboard", "-i", (dir / "in.txt").string()}),
            0);
  Pump(50);
  auto text = GetClipboardText();
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text, Utf8ToGbk("a\r\nb\r\n中"));
}

TEST_F(X11Test, APostFromAnotherThreadWakesTheLoopAtOnce) {
  Hwnd h = Make({100, 100, 300, 200});
  std::atomic<int64_t> posted_at{0};
  std::thread poster([&] {
    std::this_thread::sleep_for(100ms);
    posted_at = std::chrono::steady_clock::now().time_since_epoch().count();
    PostMessage(h, WM_USER, 7, 0);
  });
  Msg msg;
  int64_t got_at = 0;
  // Nothing else happens: only the post can end this wait.
  while (GetMessage(msg)) {
    if (msg.message == WM_USER) {
      got_at = std::chrono::steady_clock::now().time_since_epoch().count();
      break;
    }
    DispatchMessage(msg);
  }
  poster.join();
  EXPECT_EQ(msg.wparam, 7u);
  EXPECT_LT(std::chrono::nanoseconds(got_at - posted_at), 2s);
}

TEST_F(X11Test, UnderAWindowManagerTopmostIsAStateAndThereIsNoFrame) {
  if (!server_->StartClient({"openbox", "--sm-disable"})) GTEST_SKIP() << "openbox is missing";
  // The manager is ready once it takes in a window: map one of the test's own and wait for
  // the WM_STATE the manager gives it.
  Window scout = XCreateSimpleWindow(probe_, DefaultRootWindow(probe_), 0, 0, 10, 10, 0, 0, 0);
  XMapWindow(probe_, scout);
  XFlush(probe_);
  ASSERT_TRUE(WaitForWmState(scout));
  XDestroyWindow(probe_, scout);
  XFlush(probe_);
  Hwnd h = Make({100, 100, 300, 200});
  Window x = FindXWindow("测试窗口");
  ASSERT_NE(x, 0u);
  ASSERT_TRUE(WaitForWmState(x));  // taken in by the manager
  SetTopmost(h, true);
  Atom above = XInternAtom(probe_, "_NET_WM_STATE_ABOVE", False);
  bool is_above = false;
  for (int i = 0; i < 200 && !is_above; ++i) {
    Pump(10);
    auto states = AtomsOf(x, "_NET_WM_STATE");
    is_above = std::find(states.begin(), states.end(), above) != states.end();
  }
  EXPECT_TRUE(is_above);
  // No decorations: the manager's frame adds nothing around the window.
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  XGetWindowProperty(probe_, x, XInternAtom(probe_, "_NET_FRAME_EXTENTS", False), 0, 4, False,
                     XA_CARDINAL, &type, &format, &count, &after, &data);
  ASSERT_TRUE(data && count == 4);
  auto* extents = reinterpret_cast<long*>(data);
  EXPECT_EQ(extents[0] + extents[1] + extents[2] + extents[3], 0);
  XFree(data);
  SetTopmost(h, false);
  bool cleared = false;
  for (int i = 0; i < 200 && !cleared; ++i) {
    Pump(10);
    auto states = AtomsOf(x, "_NET_WM_STATE");
    cleared = std::find(states.begin(), states.end(), above) == states.end();
  }
  EXPECT_TRUE(cleared);
}

TEST_F(X11Test, AHostWithCaptionButtonsClosesFromItsCloseButton) {
  StartToolkit();
  RegisterToolkitClass("Lw_Host");
  CreateParams p;
  p.class_name = "Lw_Host";
  p.title = Utf8ToGbk("测试窗口");
  p.style = WS_POPUP;
  p.rect = {50, 50, 50 + 414, 50 + 326};
  Hwnd h = CreateWindow(p);
  bool closed = false;
  SetWindowProc(h, [&](Hwnd w, Message m, WParam wp, LParam l) -> LResult {
    if (m == WM_CLOSE) closed = true;
    return DefWindowProc(w, m, wp, l);
  });
  UiHost host;
  AttachParams a;
  a.window = h;
  auto png = assets::WindowBackground();
  a.image.assign(png.begin(), png.end());
  a.frame_flags = 0x114;
  a.opacity = 255;
  ASSERT_TRUE(host.Attach(a));
  host.Show(5);
  host.CloseEffect(2);
  Pump(300);
  // The frame is on the screen: the picture's light colours inside, the close glyph's dark
  // strokes at the right of the caption.
  uint32_t inside = ScreenPixel(50 + 200, 50 + 160);
  EXPECT_GT((inside >> 8) & 0xFF, 200u);
  int dark = 0;
  for (int x = 0; x < 39; ++x) {
    for (int y = 0; y < 19; ++y)
      dark += ((ScreenPixel(50 + 414 - 45 + x, 50 + 7 + y) >> 8) & 0xFF) < 140;
  }
  EXPECT_GT(dark, 5);
  XTestFakeMotionEvent(probe_, DefaultScreen(probe_), 50 + 414 - 25, 50 + 16, CurrentTime);
  XTestFakeButtonEvent(probe_, 1, True, CurrentTime);
  XTestFakeButtonEvent(probe_, 1, False, CurrentTime);
  XFlush(probe_);
  EXPECT_TRUE(PumpUntil([&] { return closed; }));
  EXPECT_FALSE(IsWindow(h));
}

}  // namespace
}  // namespace lw::ws
