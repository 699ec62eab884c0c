// x11_echo: opens a real X11 window that paints a frame with a rounded outline and prints
// every message it receives.
//
//   x11_echo [--seconds N] [--layered] [--topmost]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/codepage.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/toolkit.h"
#include "ui/core/window/window_system.h"
#include "ui/core/window/x11_backend.h"

using namespace lw;
using namespace lw::ws;

namespace {

const char* Name(Message m) {
  switch (m) {
    case WM_CREATE:
      return "WM_CREATE";
    case WM_DESTROY:
      return "WM_DESTROY";
    case WM_MOVE:
      return "WM_MOVE";
    case WM_SIZE:
      return "WM_SIZE";
    case WM_ACTIVATE:
      return "WM_ACTIVATE";
    case WM_SETFOCUS:
      return "WM_SETFOCUS";
    case WM_KILLFOCUS:
      return "WM_KILLFOCUS";
    case WM_PAINT:
      return "WM_PAINT";
    case WM_CLOSE:
      return "WM_CLOSE";
    case WM_SHOWWINDOW:
      return "WM_SHOWWINDOW";
    case WM_SETCURSOR:
      return "WM_SETCURSOR";
    case WM_GETMINMAXINFO:
      return "WM_GETMINMAXINFO";
    case WM_KEYDOWN:
      return "WM_KEYDOWN";
    case WM_KEYUP:
      return "WM_KEYUP";
    case WM_CHAR:
      return "WM_CHAR";
    case WM_SYSKEYDOWN:
      return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP:
      return "WM_SYSKEYUP";
    case WM_SYSCHAR:
      return "WM_SYSCHAR";
    case WM_IME_COMPOSITION:
      return "WM_IME_COMPOSITION";
    case WM_TIMER:
      return "WM_TIMER";
    case WM_MOUSEMOVE:
      return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN:
      return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP:
      return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK:
      return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN:
      return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP:
      return "WM_RBUTTONUP";
    case WM_MOUSEWHEEL:
      return "WM_MOUSEWHEEL";
    case WM_MOUSELEAVE:
      return "WM_MOUSELEAVE";
    case WM_NCACTIVATE:
      return "WM_NCACTIVATE";
    case WM_STYLECHANGED:
      return "WM_STYLECHANGED";
    default:
      return nullptr;
  }
}

gfx::Bitmap Paint(int w, int h) {
  gfx::Bitmap frame(w, h);
  gfx::Graphics g(frame);
  g.SetSmoothingMode(gfx::SmoothingMode::kAntiAlias);
  g.SetTextRenderingHint(gfx::TextRenderingHint::kAntiAliasGridFit);
  RectF inner{5, 5, float(w - 10), float(h - 10)};
  g.FillPath(
      gfx::Brush::Gradient(inner, 0xFFEAF3FC, 0xFFF9FBFE, gfx::LinearGradientMode::kVertical),
      RoundedPath(inner, 12));
  DrawRounded(g, inner, 12, 0xCC606060);
  DrawShadow(g, {4, 4, float(w - 8), float(h - 8)}, true, 0x000000);
  gfx::StringFormat f;
  f.flags = gfx::kNoWrap;
  if (auto font = CreateFontByName(Utf8ToGbk("微软雅黑"), 16, gfx::kBold)) {
    g.DrawString(u"Lw_Ui 消息回显", *font, {20, 18, 0, 0}, f, gfx::Brush::Solid(0xE6000000));
  }
  if (auto font = DefaultFont()) {
    g.DrawString(u"点击、按键、拖动：消息打印在终端上。", *font, {20, 48, 0, 0}, f,
                 gfx::Brush::Solid(0xFF2F7FD8));
  }
  return frame;
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = 0;
  bool layered = false, topmost = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc)
      seconds = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--layered"))
      layered = true;
    else if (!std::strcmp(argv[i], "--topmost"))
      topmost = true;
  }
  std::string error;
  if (!UseX11WindowSystem(&error)) {
    std::fprintf(stderr, "x11_echo: %s\n", error.c_str());
    return 1;
  }
  StartToolkit();
  gfx::Bitmap frame;
  WindowClassInfo cls;
  cls.name = "Lw_Ui";
  cls.proc = [&](Hwnd h, Message m, WParam w, LParam l) -> LResult {
    if (const char* name = Name(m)) {
      std::printf("%s wParam=%lu lParam=0x%lx", name, static_cast<unsigned long>(w),
                  static_cast<unsigned long>(l));
      if (m == WM_IME_COMPOSITION)
        std::printf(" text=%s", GbkToUtf8Text(ImeResultString(h)).c_str());
      if (m >= WM_MOUSEMOVE && m <= WM_RBUTTONDBLCLK) std::printf(" x=%d y=%d", XOf(l), YOf(l));
      std::printf("\n");
      std::fflush(stdout);
    }
    switch (m) {
      case WM_SIZE:
        frame = Paint(LoWord(l), HiWord(l));
        PresentFrame(h, frame);
        return 0;
      case WM_PAINT:
        BeginPaint(h);
        EndPaint(h);
        if (!frame.IsNull()) PresentFrame(h, frame);
        return 0;
      case WM_LBUTTONDOWN:
        if (YOf(l) < 40) SendMessage(h, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProc(h, m, w, l);
  };
  RegisterClass(cls);
  CreateParams p;
  p.class_name = "Lw_Ui";
  p.title = Utf8ToGbk("霁桐软件 · 消息回显");
  p.style = WS_POPUP;
  p.ex_style = (layered ? WS_EX_LAYERED : 0) | (topmost ? WS_EX_TOPMOST : 0);
  p.rect = {100, 100, 100 + 360, 100 + 120};
  Hwnd h = CreateWindow(p);
  if (!layered) SetWindowRegion(h, RoundRectRegion(360, 120, 5, 12, true));
  frame = Paint(360, 120);
  ShowWindow(h, SW_SHOW);
  PresentFrame(h, frame);
  if (seconds > 0)
    SetTimer(h, 1, static_cast<uint32_t>(seconds) * 1000,
             [](Hwnd w, Message, uintptr_t, uint32_t) { PostMessage(w, WM_CLOSE, 0, 0); });
  Msg msg;
  while (GetMessage(msg)) {
    TranslateMessage(msg);
    DispatchMessage(msg);
  }
  return 0;
}
