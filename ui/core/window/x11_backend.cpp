#include "ui/core/window/x11_backend.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "ui/core/window/window_system.h"

namespace lw::ws {
namespace {

// _NET_WM_MOVERESIZE directions.
constexpr long kMoveResizeMove = 8;

long NetDirection(int edge) {
  switch (edge) {
    case WMSZ_TOPLEFT:
      return 0;
    case WMSZ_TOP:
      return 1;
    case WMSZ_TOPRIGHT:
      return 2;
    case WMSZ_RIGHT:
      return 3;
    case WMSZ_BOTTOMRIGHT:
      return 4;
    case WMSZ_BOTTOM:
      return 5;
    case WMSZ_BOTTOMLEFT:
      return 6;
    case WMSZ_LEFT:
      return 7;
    default:
      return kMoveResizeMove;
  }
}

unsigned int FontCursorFor(int id) {
  switch (id) {
    case 32513:
      return XC_xterm;
    case 32642:
      return XC_bottom_right_corner;  // north-west to south-east
    case 32643:
      return XC_bottom_left_corner;  // north-east to south-west
    case 32644:
      return XC_sb_h_double_arrow;
    case 32645:
      return XC_sb_v_double_arrow;
    case 32649:
      return XC_hand2;
    default:
      return XC_left_ptr;
  }
}

struct Native {
  Window xid = 0;
  XIC xic = nullptr;
  bool argb = false;
  bool layered = false;
  bool mapped = false;
  bool focus_when_mapped = false;
  bool ime_enabled = true;
  bool presented = false;
  RectI rect;
  uint32_t style = 0;
  uint32_t ex_style = 0;
  std::vector<uint32_t> pixels;  // what is put on the window, in the window's visual
};

class X11Backend : public Backend {
 public:
  explicit X11Backend(Display* d);
  ~X11Backend() override;

  const char* Name() const override { return "x11"; }
  uint64_t Now() override {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
  }
  bool WaitOnThisThread(uint64_t deadline) override;
  void Wake(std::thread::id thread) override;

  void CreateNative(Hwnd hwnd, const NativeWindowInfo& info) override;
  void DestroyNative(Hwnd hwnd) override;
  void ShowNative(Hwnd hwnd, bool visible, bool activate) override;
  void MoveNative(Hwnd hwnd, const RectI& rect) override;
  void SetTitle(Hwnd hwnd, const std::string& utf8) override;
  void SetIcons(Hwnd hwnd, const std::vector<gfx::Bitmap>& icons) override;
  void SetTopmost(Hwnd hwnd, bool topmost) override;
  void SetState(Hwnd hwnd, bool zoomed, bool iconic) override;
  void SetStyles(Hwnd hwnd, uint32_t style, uint32_t ex_style) override;
  void SetMinSize(Hwnd hwnd, int width, int height) override;
  void SetRegion(Hwnd hwnd, const std::optional<gfx::Region>& region) override;
  void Present(Hwnd hwnd, const gfx::Bitmap& frame, const RectI& rect, bool layered,
               uint8_t alpha) override;
  void BeginMoveResize(Hwnd hwnd, int edge) override;
  void Activate(Hwnd hwnd) override;
  void SetCursor(Hwnd over, int cursor_id) override;
  void SetCapture(Hwnd hwnd) override;
  void ReleaseCapture() override;
  std::optional<PointI> CursorPos() override;
  void SetImeEnabled(Hwnd hwnd, bool on) override;
  bool SetClipboardText(const std::string& utf8) override;
  std::optional<std::string> GetClipboardText() override;
  RectI WorkArea() override;

 private:
  bool OnDisplayThread() const { return std::this_thread::get_id() == thread_; }
  Native* Find(Hwnd h) {
    auto it = windows_.find(h);
    return it == windows_.end() ? nullptr : &it->second;
  }
  Hwnd HwndOf(Window xid) {
    auto it = by_xid_.find(xid);
    return it == by_xid_.end() ? 0 : it->second;
  }
  Atom A(const char* name) { return XInternAtom(display_, name, False); }
  bool HasWindowManager();
  bool IsManaged(Native& n);
  void SendNetWmState(Native& n, bool add, Atom a, Atom b = 0);
  void ProcessEvent(XEvent& e);
  void OnKey(XKeyEvent& e, Hwnd h);
  void AnswerSelectionRequest(XSelectionRequestEvent& r);
  void ReadWmState(Hwnd h, Native& n);
  void ApplyAlphaShape(Native& n);
  void PutPixels(Native& n, const RectI& area);
  void SyncKeys(unsigned int state, bool left_changed, bool left_down);

  Display* display_;
  int screen_;
  Window root_;
  std::thread::id thread_;
  int wake_fd_;
  Visual* argb_visual_ = nullptr;
  Colormap argb_colormap_ = 0;
  bool composited_ = false;
  XIM xim_ = nullptr;
  Window clipboard_window_ = 0;
  std::string clipboard_text_;
  bool owns_clipboard_ = false;
  std::map<Hwnd, Native> windows_;
  std::map<Window, Hwnd> by_xid_;
  std::map<int, Cursor> cursors_;
  Hwnd grab_ = 0;
  // A move or resize done here when no window manager does it.
  struct Drag {
    Hwnd hwnd = 0;
    int edge = 0;
    PointI start;
    RectI rect;
  } drag_;
};

X11Backend::X11Backend(Display* d) : display_(d) {
  screen_ = DefaultScreen(d);
  root_ = RootWindow(d, screen_);
  thread_ = std::this_thread::get_id();
  wake_fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  // Per-pixel alpha needs a 32-bit visual and a compositing manager to show it.
  std::string cm = "_NET_WM_CM_S" + std::to_string(screen_);
  composited_ = XGetSelectionOwner(d, A(cm.c_str())) != None;
  XVisualInfo vi;
  if (composited_ && XMatchVisualInfo(d, screen_, 32, TrueColor, &vi)) {
    argb_visual_ = vi.visual;
    argb_colormap_ = XCreateColormap(d, root_, vi.visual, AllocNone);
  }
  XSetLocaleModifiers("");
  xim_ = XOpenIM(d, nullptr, nullptr, nullptr);
  clipboard_window_ = XCreateSimpleWindow(d, root_, -10, -10, 1, 1, 0, 0, 0);
  XSelectInput(d, clipboard_window_, PropertyChangeMask);
}

X11Backend::~X11Backend() {
  for (auto& [h, n] : windows_) {
    if (n.xic) XDestroyIC(n.xic);
    XDestroyWindow(display_, n.xid);
  }
  for (auto& [id, c] : cursors_)
    XFreeCursor(display_, c);
  if (clipboard_window_) XDestroyWindow(display_, clipboard_window_);
  if (xim_) XCloseIM(xim_);
  XCloseDisplay(display_);
  close(wake_fd_);
}

bool X11Backend::HasWindowManager() {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  bool found = false;
  if (XGetWindowProperty(display_, root_, A("_NET_SUPPORTING_WM_CHECK"), 0, 1, False, XA_WINDOW,
                         &type, &format, &count, &after, &data) == Success &&
      data && count == 1) {
    found = *reinterpret_cast<Window*>(data) != 0;
  }
  if (data) XFree(data);
  return found;
}

bool X11Backend::IsManaged(Native& n) {
  // A window manager marks the windows it has taken in with WM_STATE.
  int count = 0;
  Atom* props = XListProperties(display_, n.xid, &count);
  bool managed = false;
  for (int i = 0; i < count; ++i)
    managed |= props[i] == A("WM_STATE");
  if (props) XFree(props);
  return managed && HasWindowManager();
}

bool X11Backend::WaitOnThisThread(uint64_t deadline) {
  if (!OnDisplayThread()) return false;
  if (XPending(display_) == 0) {
    XFlush(display_);
    pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wake_fd_, POLLIN, 0}};
    int timeout = -1;
    if (deadline != kForever) {
      uint64_t now = Now();
      timeout = deadline > now ? static_cast<int>(std::min<uint64_t>(deadline - now, 60'000)) : 0;
    }
    poll(fds, 2, timeout);
    uint64_t drained;
    while (read(wake_fd_, &drained, sizeof drained) > 0) {
    }
  }
  while (XPending(display_) > 0) {
    XEvent e;
    XNextEvent(display_, &e);
    ProcessEvent(e);
  }
  XFlush(display_);  // what the events asked for goes out before anything else happens
  return true;
}

void X11Backend::Wake(std::thread::id thread) {
  if (thread != thread_) return;
  uint64_t one = 1;
  ssize_t ignored = write(wake_fd_, &one, sizeof one);
  (void)ignored;
}

void X11Backend::CreateNative(Hwnd h, const NativeWindowInfo& info) {
  if (!OnDisplayThread()) return;  // windows live on the display's thread
  Native n;
  n.argb = argb_visual_ != nullptr;
  n.layered = info.ex_style & WS_EX_LAYERED;
  n.rect = info.rect;
  n.style = info.style;
  n.ex_style = info.ex_style;
  XSetWindowAttributes a{};
  unsigned long mask = CWEventMask | CWBorderPixel | CWBackPixel;
  a.event_mask = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask |
                 PointerMotionMask | EnterWindowMask | LeaveWindowMask | KeyPressMask |
                 KeyReleaseMask | FocusChangeMask | PropertyChangeMask;
  a.border_pixel = 0;
  a.background_pixel = 0;
  int depth = CopyFromParent;
  Visual* visual = CopyFromParent;
  if (n.argb) {
    a.colormap = argb_colormap_;
    mask |= CWColormap;
    depth = 32;
    visual = argb_visual_;
  }
  int w = std::max(1, info.rect.width()), ht = std::max(1, info.rect.height());
  n.xid = XCreateWindow(display_, root_, info.rect.left, info.rect.top, w, ht, 0, depth,
                        InputOutput, visual, mask, &a);
  // What the window manager needs to know.
  XClassHint cls{const_cast<char*>("harvester"), const_cast<char*>(info.class_name.c_str())};
  XSetClassHint(display_, n.xid, &cls);
  Atom protocols[] = {A("WM_DELETE_WINDOW")};
  XSetWMProtocols(display_, n.xid, protocols, 1);
  long pid = getpid();
  XChangeProperty(display_, n.xid, A("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&pid), 1);
  XSizeHints* hints = XAllocSizeHints();
  hints->flags = USPosition | USSize | PPosition | PSize;
  hints->x = info.rect.left;
  hints->y = info.rect.top;
  hints->width = w;
  hints->height = ht;
  XSetWMNormalHints(display_, n.xid, hints);
  XFree(hints);
  if (info.owner) {
    if (Native* o = Find(info.owner)) XSetTransientForHint(display_, n.xid, o->xid);
  }
  bool popup_kind = (info.ex_style & WS_EX_TOOLWINDOW) || info.class_name == "tooltips_class32";
  Atom type = info.class_name == "tooltips_class32" ? A("_NET_WM_WINDOW_TYPE_TOOLTIP")
              : (info.ex_style & WS_EX_TOOLWINDOW)  ? A("_NET_WM_WINDOW_TYPE_POPUP_MENU")
                                                    : A("_NET_WM_WINDOW_TYPE_NORMAL");
  XChangeProperty(display_, n.xid, A("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&type), 1);
  std::vector<Atom> states;
  if (popup_kind) {
    states.push_back(A("_NET_WM_STATE_SKIP_TASKBAR"));
    states.push_back(A("_NET_WM_STATE_SKIP_PAGER"));
  }
  if (info.ex_style & WS_EX_TOPMOST) states.push_back(A("_NET_WM_STATE_ABOVE"));
  if (!states.empty()) {
    XChangeProperty(display_, n.xid, A("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(states.data()),
                    static_cast<int>(states.size()));
  }
  if (xim_) {
    n.xic = XCreateIC(xim_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow,
                      n.xid, XNFocusWindow, n.xid, nullptr);
    if (n.xic) {
      long filter = 0;
      XGetICValues(n.xic, XNFilterEvents, &filter, nullptr);
      XSelectInput(display_, n.xid, a.event_mask | filter);
    }
  }
  n.pixels.assign(static_cast<size_t>(w) * ht, 0);
  by_xid_[n.xid] = h;
  windows_[h] = std::move(n);
  SetStyles(h, info.style, info.ex_style);
  SetTitle(h, info.title_utf8);
  if (!info.icons.empty()) SetIcons(h, info.icons);
}

void X11Backend::DestroyNative(Hwnd h) {
  Native* n = Find(h);
  if (!n) return;
  if (n->xic) XDestroyIC(n->xic);
  by_xid_.erase(n->xid);
  XDestroyWindow(display_, n->xid);
  XFlush(display_);
  if (grab_ == h) grab_ = 0;
  if (drag_.hwnd == h) drag_.hwnd = 0;
  windows_.erase(h);
}

void X11Backend::ShowNative(Hwnd h, bool visible, bool activate) {
  Native* n = Find(h);
  if (!n) return;
  if (visible && !n->mapped) {
    n->focus_when_mapped = activate;
    XMapRaised(display_, n->xid);
    n->mapped = true;
  } else if (!visible && n->mapped) {
    XWithdrawWindow(display_, n->xid, screen_);
    n->mapped = false;
  }
  XFlush(display_);
}

void X11Backend::MoveNative(Hwnd h, const RectI& rect) {
  Native* n = Find(h);
  if (!n) return;
  int w = std::max(1, rect.width()), ht = std::max(1, rect.height());
  if (rect.width() != n->rect.width() || rect.height() != n->rect.height()) {
    n->pixels.assign(static_cast<size_t>(w) * ht, 0);
  }
  n->rect = rect;
  XMoveResizeWindow(display_, n->xid, rect.left, rect.top, w, ht);
  XFlush(display_);
}

void X11Backend::SetTitle(Hwnd h, const std::string& utf8) {
  Native* n = Find(h);
  if (!n) return;
  Atom utf8_string = A("UTF8_STRING");
  auto* bytes = reinterpret_cast<const unsigned char*>(utf8.c_str());
  int length = static_cast<int>(utf8.size());
  XChangeProperty(display_, n->xid, A("_NET_WM_NAME"), utf8_string, 8, PropModeReplace, bytes,
                  length);
  XChangeProperty(display_, n->xid, XA_WM_NAME, utf8_string, 8, PropModeReplace, bytes, length);
}

void X11Backend::SetIcons(Hwnd h, const std::vector<gfx::Bitmap>& icons) {
  Native* n = Find(h);
  if (!n) return;
  // CARDINAL data is a long per value: width, height, then straight ARGB pixels.
  std::vector<long> data;
  for (const gfx::Bitmap& icon : icons) {
    data.push_back(icon.Width());
    data.push_back(icon.Height());
    for (int y = 0; y < icon.Height(); ++y) {
      for (int x = 0; x < icon.Width(); ++x)
        data.push_back(static_cast<long>(icon.GetPixel(x, y)));
    }
  }
  if (data.empty()) return;
  XChangeProperty(display_, n->xid, A("_NET_WM_ICON"), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(data.data()), static_cast<int>(data.size()));
}

void X11Backend::SendNetWmState(Native& n, bool add, Atom a, Atom b) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = n.xid;
  e.xclient.message_type = A("_NET_WM_STATE");
  e.xclient.format = 32;
  e.xclient.data.l[0] = add ? 1 : 0;
  e.xclient.data.l[1] = static_cast<long>(a);
  e.xclient.data.l[2] = static_cast<long>(b);
  e.xclient.data.l[3] = 1;
  XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

void X11Backend::SetTopmost(Hwnd h, bool topmost) {
  Native* n = Find(h);
  if (!n) return;
  n->ex_style = topmost ? n->ex_style | WS_EX_TOPMOST : n->ex_style & ~WS_EX_TOPMOST;
  Atom above = A("_NET_WM_STATE_ABOVE");
  if (n->mapped && IsManaged(*n)) {
    SendNetWmState(*n, topmost, above);
  } else {
    // Not managed (yet): the property itself says it, and the window goes up at once.
    std::vector<Atom> states;
    if (n->ex_style & WS_EX_TOOLWINDOW) {
      states.push_back(A("_NET_WM_STATE_SKIP_TASKBAR"));
      states.push_back(A("_NET_WM_STATE_SKIP_PAGER"));
    }
    if (topmost) states.push_back(above);
    XChangeProperty(display_, n->xid, A("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(states.data()),
                    static_cast<int>(states.size()));
    if (topmost) XRaiseWindow(display_, n->xid);
  }
  XFlush(display_);
}

void X11Backend::SetState(Hwnd h, bool zoomed, bool iconic) {
  Native* n = Find(h);
  if (!n || !n->mapped) return;
  if (iconic) {
    XIconifyWindow(display_, n->xid, screen_);
  } else if (IsManaged(*n)) {
    SendNetWmState(*n, zoomed, A("_NET_WM_STATE_MAXIMIZED_VERT"),
                   A("_NET_WM_STATE_MAXIMIZED_HORZ"));
  }
  XFlush(display_);
}

void X11Backend::SetStyles(Hwnd h, uint32_t style, uint32_t ex_style) {
  Native* n = Find(h);
  if (!n) return;
  n->style = style;
  n->ex_style = ex_style;
  n->layered = ex_style & WS_EX_LAYERED;
  // The toolkit draws its own frame: a popup window gets no decorations from the manager.
  struct {
    unsigned long flags, functions, decorations;
    long input_mode;
    unsigned long status;
  } motif{2, 0, (style & WS_POPUP) ? 0ul : 1ul, 0, 0};
  XChangeProperty(display_, n->xid, A("_MOTIF_WM_HINTS"), A("_MOTIF_WM_HINTS"), 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&motif), 5);
}

void X11Backend::SetMinSize(Hwnd h, int width, int height) {
  Native* n = Find(h);
  if (!n || width <= 0 || height <= 0) return;
  XSizeHints* hints = XAllocSizeHints();
  hints->flags = USPosition | USSize | PMinSize;
  hints->x = n->rect.left;
  hints->y = n->rect.top;
  hints->width = n->rect.width();
  hints->height = n->rect.height();
  hints->min_width = width;
  hints->min_height = height;
  XSetWMNormalHints(display_, n->xid, hints);
  XFree(hints);
}

void X11Backend::SetRegion(Hwnd h, const std::optional<gfx::Region>& region) {
  Native* n = Find(h);
  if (!n) return;
  if (!region) {
    XShapeCombineMask(display_, n->xid, ShapeBounding, 0, 0, None, ShapeSet);
  } else {
    std::vector<XRectangle> rects;
    for (const RectF& r : region->Scans()) {
      rects.push_back({static_cast<short>(r.left), static_cast<short>(r.top),
                       static_cast<unsigned short>(r.width),
                       static_cast<unsigned short>(r.height)});
    }
    XShapeCombineRectangles(display_, n->xid, ShapeBounding, 0, 0, rects.data(),
                            static_cast<int>(rects.size()), ShapeSet, Unsorted);
  }
  XFlush(display_);
}

void X11Backend::ApplyAlphaShape(Native& n) {
  // Without a compositor the outline of a layered window is cut from its alpha.
  int w = n.rect.width(), h = n.rect.height();
  std::vector<XRectangle> rects;
  for (int y = 0; y < h; ++y) {
    int x = 0;
    while (x < w) {
      while (x < w && (n.pixels[static_cast<size_t>(y) * w + x] >> 24) < 128)
        ++x;
      int start = x;
      while (x < w && (n.pixels[static_cast<size_t>(y) * w + x] >> 24) >= 128)
        ++x;
      if (x > start) {
        rects.push_back({static_cast<short>(start), static_cast<short>(y),
                         static_cast<unsigned short>(x - start), 1});
      }
    }
  }
  XShapeCombineRectangles(display_, n.xid, ShapeBounding, 0, 0, rects.data(),
                          static_cast<int>(rects.size()), ShapeSet, YSorted);
}

void X11Backend::Present(Hwnd h, const gfx::Bitmap& frame, const RectI& rect, bool layered,
                         uint8_t alpha) {
  Native* n = Find(h);
  if (!n) return;
  const int w = n->rect.width(), ht = n->rect.height();
  if (frame.Width() != w || frame.Height() != ht) return;
  const uint8_t* src = frame.Data();
  for (int y = rect.top; y < rect.bottom; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(src + y * frame.Stride());
    uint32_t* out = n->pixels.data() + static_cast<size_t>(y) * w;
    for (int x = rect.left; x < rect.right; ++x) {
      uint32_t p = row[x];
      if (alpha != 255) {
        // A layered window's own opacity scales every premultiplied channel.
        auto s = [alpha](uint32_t v) { return (v * alpha + 127) / 255; };
        p = (s(p >> 24) << 24) | (s((p >> 16) & 0xFF) << 16) | (s((p >> 8) & 0xFF) << 8) |
            s(p & 0xFF);
      }
      if (!n->argb) {
        // No per-pixel alpha on this display: laid over a light background, opaque.
        uint32_t a = p >> 24, inv = 255 - a;
        auto over = [inv](uint32_t v, uint32_t back) { return v + (back * inv + 127) / 255; };
        // The top byte is not shown on such a visual; it keeps the alpha for the outline.
        p = (a << 24) | (over((p >> 16) & 0xFF, 0xF0) << 16) | (over((p >> 8) & 0xFF, 0xF0) << 8) |
            over(p & 0xFF, 0xF0);
      }
      out[x] = p;
    }
  }
  n->presented = true;
  PutPixels(*n, rect);
  if (layered && !n->argb) ApplyAlphaShape(*n);
  XFlush(display_);
}

void X11Backend::PutPixels(Native& n, const RectI& area) {
  const int w = n.rect.width(), ht = n.rect.height();
  if (!n.presented || n.pixels.size() != static_cast<size_t>(w) * ht) return;
  RectI r{std::max(0, area.left), std::max(0, area.top), std::min(w, area.right),
          std::min(ht, area.bottom)};
  if (r.right <= r.left || r.bottom <= r.top) return;
  XImage* image = XCreateImage(display_, n.argb ? argb_visual_ : DefaultVisual(display_, screen_),
                               n.argb ? 32 : DefaultDepth(display_, screen_), ZPixmap, 0,
                               reinterpret_cast<char*>(n.pixels.data()), w, ht, 32, w * 4);
  if (!image) return;
  GC gc = XCreateGC(display_, n.xid, 0, nullptr);
  XPutImage(display_, n.xid, gc, image, r.left, r.top, r.left, r.top, r.right - r.left,
            r.bottom - r.top);
  XFreeGC(display_, gc);
  image->data = nullptr;  // the pixels stay ours
  XDestroyImage(image);
}

void X11Backend::BeginMoveResize(Hwnd h, int edge) {
  Native* n = Find(h);
  if (!n) return;
  PointI at = CursorPos().value_or(PointI{});
  if (HasWindowManager()) {
    XUngrabPointer(display_, CurrentTime);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = n->xid;
    e.xclient.message_type = A("_NET_WM_MOVERESIZE");
    e.xclient.format = 32;
    e.xclient.data.l[0] = at.x;
    e.xclient.data.l[1] = at.y;
    e.xclient.data.l[2] = NetDirection(edge);
    e.xclient.data.l[3] = Button1;
    e.xclient.data.l[4] = 1;
    XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(display_);
    return;
  }
  // No window manager: follow the pointer here until the button comes up.
  drag_ = {h, edge, at, n->rect};
  XGrabPointer(display_, n->xid, False, PointerMotionMask | ButtonReleaseMask, GrabModeAsync,
               GrabModeAsync, None, None, CurrentTime);
}

void X11Backend::Activate(Hwnd h) {
  Native* n = Find(h);
  if (!n) return;
  XRaiseWindow(display_, n->xid);
  if (HasWindowManager()) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = n->xid;
    e.xclient.message_type = A("_NET_ACTIVE_WINDOW");
    e.xclient.format = 32;
    e.xclient.data.l[0] = 2;  // as a pager would: the user asked for it
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
  } else if (n->mapped) {
    XSetInputFocus(display_, n->xid, RevertToParent, CurrentTime);
  } else {
    n->focus_when_mapped = true;
  }
  XFlush(display_);
}

void X11Backend::SetCursor(Hwnd over, int id) {
  Native* n = Find(over);
  if (!n) return;
  auto it = cursors_.find(id);
  if (it == cursors_.end())
    it = cursors_.emplace(id, XCreateFontCursor(display_, FontCursorFor(id))).first;
  XDefineCursor(display_, n->xid, it->second);
  XFlush(display_);
}

void X11Backend::SetCapture(Hwnd h) {
  Native* n = Find(h);
  if (!n) return;
  grab_ = h;
  XGrabPointer(
      display_, n->xid, True,
      PointerMotionMask | ButtonPressMask | ButtonReleaseMask | EnterWindowMask | LeaveWindowMask,
      GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
}

void X11Backend::ReleaseCapture() {
  if (!grab_) return;
  grab_ = 0;
  XUngrabPointer(display_, CurrentTime);
  XFlush(display_);
}

std::optional<PointI> X11Backend::CursorPos() {
  if (!OnDisplayThread()) return std::nullopt;
  Window r, child;
  int rx, ry, wx, wy;
  unsigned int mask;
  if (!XQueryPointer(display_, root_, &r, &child, &rx, &ry, &wx, &wy, &mask)) return std::nullopt;
  return PointI{rx, ry};
}

void X11Backend::SetImeEnabled(Hwnd h, bool on) {
  if (Native* n = Find(h)) n->ime_enabled = on;
}

bool X11Backend::SetClipboardText(const std::string& utf8) {
  if (!OnDisplayThread()) return false;
  clipboard_text_ = utf8;
  XSetSelectionOwner(display_, A("CLIPBOARD"), clipboard_window_, CurrentTime);
  owns_clipboard_ = XGetSelectionOwner(display_, A("CLIPBOARD")) == clipboard_window_;
  XFlush(display_);
  return owns_clipboard_;
}

std::optional<std::string> X11Backend::GetClipboardText() {
  if (!OnDisplayThread()) return std::nullopt;
  if (owns_clipboard_) return clipboard_text_;
  Atom clipboard = A("CLIPBOARD"), property = A("LW_CLIPBOARD");
  for (Atom target : {A("UTF8_STRING"), static_cast<Atom>(XA_STRING)}) {
    XDeleteProperty(display_, clipboard_window_, property);
    XConvertSelection(display_, clipboard, target, property, clipboard_window_, CurrentTime);
    XFlush(display_);
    // The owner answers with SelectionNotify; other events are served meanwhile.
    uint64_t deadline = Now() + 1500;
    bool answered = false, refused = false;
    while (!answered && Now() < deadline) {
      XEvent e;
      if (XCheckTypedWindowEvent(display_, clipboard_window_, SelectionNotify, &e)) {
        answered = true;
        refused = e.xselection.property == None;
        break;
      }
      while (XPending(display_) > 0) {
        XEvent other;
        XPeekEvent(display_, &other);
        if (other.type == SelectionNotify && other.xany.window == clipboard_window_) break;
        XNextEvent(display_, &other);
        ProcessEvent(other);
      }
      pollfd fd{ConnectionNumber(display_), POLLIN, 0};
      poll(&fd, 1, 10);
    }
    if (!answered) return std::nullopt;
    if (refused) continue;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::optional<std::string> text;
    if (XGetWindowProperty(display_, clipboard_window_, property, 0, 0x7FFFFFF, True,
                           AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
        data && type != A("INCR")) {
      std::string bytes(reinterpret_cast<char*>(data), count);
      if (target == XA_STRING) {
        std::string utf8;  // Latin-1 to UTF-8
        for (unsigned char c : bytes) {
          if (c < 0x80) {
            utf8 += static_cast<char>(c);
          } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
          }
        }
        bytes = utf8;
      }
      text = bytes;
    }
    if (data) XFree(data);
    return text;
  }
  return std::nullopt;
}

RectI X11Backend::WorkArea() {
  RectI area{0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)};
  if (!OnDisplayThread()) return area;
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display_, root_, A("_NET_WORKAREA"), 0, 4, False, XA_CARDINAL, &type,
                         &format, &count, &after, &data) == Success &&
      data && count >= 4) {
    auto* v = reinterpret_cast<long*>(data);
    area = {static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[0] + v[2]),
            static_cast<int>(v[1] + v[3])};
  }
  if (data) XFree(data);
  return area;
}

void X11Backend::AnswerSelectionRequest(XSelectionRequestEvent& r) {
  XSelectionEvent answer{};
  answer.type = SelectionNotify;
  answer.requestor = r.requestor;
  answer.selection = r.selection;
  answer.target = r.target;
  answer.time = r.time;
  answer.property = None;
  Atom utf8 = A("UTF8_STRING"), targets = A("TARGETS");
  Atom property = r.property == None ? r.target : r.property;
  if (r.target == targets) {
    Atom list[] = {targets, utf8, XA_STRING, A("TEXT")};
    XChangeProperty(display_, r.requestor, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(list), 4);
    answer.property = property;
  } else if (r.target == utf8 || r.target == XA_STRING || r.target == A("TEXT")) {
    XChangeProperty(display_, r.requestor, property, r.target == XA_STRING ? XA_STRING : utf8, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(clipboard_text_.data()),
                    static_cast<int>(clipboard_text_.size()));
    answer.property = property;
  }
  XSendEvent(display_, r.requestor, False, 0, reinterpret_cast<XEvent*>(&answer));
  XFlush(display_);
}

void X11Backend::ReadWmState(Hwnd h, Native& n) {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  bool vert = false, horz = false, hidden = false;
  if (XGetWindowProperty(display_, n.xid, A("_NET_WM_STATE"), 0, 64, False, XA_ATOM, &type, &format,
                         &count, &after, &data) == Success &&
      data) {
    auto* atoms = reinterpret_cast<Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) {
      if (atoms[i] == A("_NET_WM_STATE_MAXIMIZED_VERT")) vert = true;
      if (atoms[i] == A("_NET_WM_STATE_MAXIMIZED_HORZ")) horz = true;
      if (atoms[i] == A("_NET_WM_STATE_HIDDEN")) hidden = true;
    }
  }
  if (data) XFree(data);
  if (HasWindowManager()) input::StateChanged(h, vert && horz, hidden);
}

void X11Backend::SyncKeys(unsigned int state, bool left_changed, bool left_down) {
  bool left = left_changed ? left_down : (state & Button1Mask);
  input::SyncKeyState(state & ShiftMask, state & ControlMask, state & Mod1Mask, left,
                      state & Button3Mask);
}

void X11Backend::OnKey(XKeyEvent& e, Hwnd h) {
  Native* n = Find(h);
  KeySym sym = XLookupKeysym(&e, 0);
  int vk = VirtualKeyFromKeysym(sym);
  bool down = e.type == KeyPress;
  if (vk) input::Key(vk, down);
  if (!down) return;
  char buffer[256];
  KeySym ignored;
  Status status = 0;
  int length = 0;
  if (n && n->xic && n->ime_enabled) {
    length = Xutf8LookupString(n->xic, &e, buffer, sizeof buffer - 1, &ignored, &status);
    if (status != XLookupChars && status != XLookupBoth) length = 0;
  } else {
    length = XLookupString(&e, buffer, sizeof buffer - 1, &ignored, nullptr);
    std::string utf8;  // Latin-1 to UTF-8
    for (int i = 0; i < length; ++i) {
      auto c = static_cast<unsigned char>(buffer[i]);
      if (c < 0x80) utf8 += static_cast<char>(c);
    }
    std::memcpy(buffer, utf8.data(), utf8.size());
    length = static_cast<int>(utf8.size());
  }
  if (length > 0) input::Text(std::string_view(buffer, static_cast<size_t>(length)));
}

void X11Backend::ProcessEvent(XEvent& e) {
  if (e.type == KeyPress || e.type == KeyRelease) {
    Hwnd h = HwndOf(e.xany.window);
    Native* n = Find(h);
    if (n && n->ime_enabled && XFilterEvent(&e, None)) return;
  } else if (XFilterEvent(&e, None)) {
    return;
  }
  if (e.type == SelectionRequest) {
    AnswerSelectionRequest(e.xselectionrequest);
    return;
  }
  if (e.type == SelectionClear) {
    owns_clipboard_ = false;
    return;
  }
  if (e.type == MappingNotify) {
    XRefreshKeyboardMapping(&e.xmapping);
    return;
  }
  Hwnd h = HwndOf(e.xany.window);
  Native* n = Find(h);
  if (!n) return;
  switch (e.type) {
    case Expose:
      input::Exposed(h, {e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width,
                         e.xexpose.y + e.xexpose.height});
      break;
    case MapNotify:
      if (n->focus_when_mapped) {
        n->focus_when_mapped = false;
        if (!HasWindowManager()) XSetInputFocus(display_, n->xid, RevertToParent, CurrentTime);
      }
      break;
    case ConfigureNotify: {
      int x = 0, y = 0;
      Window child;
      XTranslateCoordinates(display_, n->xid, root_, 0, 0, &x, &y, &child);
      RectI r{x, y, x + e.xconfigure.width, y + e.xconfigure.height};
      if (r.width() != n->rect.width() || r.height() != n->rect.height()) {
        n->pixels.assign(static_cast<size_t>(r.width()) * r.height(), 0);
      }
      n->rect = r;
      input::Configure(h, r);
      break;
    }
    case MotionNotify:
      SyncKeys(e.xmotion.state, false, false);
      if (drag_.hwnd) {
        int dx = e.xmotion.x_root - drag_.start.x, dy = e.xmotion.y_root - drag_.start.y;
        RectI r = drag_.rect;
        int edge = drag_.edge;
        if (edge == 0) {
          r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
        } else {
          if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT) r.left += dx;
          if (edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT)
            r.right += dx;
          if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT) r.top += dy;
          if (edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT)
            r.bottom += dy;
        }
        if (r.width() > 20 && r.height() > 20) MoveWindow(drag_.hwnd, r);
        break;
      }
      input::PointerMotion(h, e.xmotion.x_root, e.xmotion.y_root);
      break;
    case ButtonPress:
    case ButtonRelease: {
      bool down = e.type == ButtonPress;
      if (drag_.hwnd) {
        if (!down && e.xbutton.button == Button1) {
          drag_.hwnd = 0;
          XUngrabPointer(display_, CurrentTime);
          SyncKeys(e.xbutton.state, true, false);
        }
        break;
      }
      // A press belongs to the window it landed on, even under a grab of ours.
      Window child;
      int wx, wy;
      Hwnd over = h;
      XTranslateCoordinates(display_, root_, root_, e.xbutton.x_root, e.xbutton.y_root, &wx, &wy,
                            &child);
      if (child && HwndOf(child)) over = HwndOf(child);
      if (e.xbutton.button == Button4 || e.xbutton.button == Button5) {
        if (down)
          input::PointerWheel(over, e.xbutton.button == Button4 ? 120 : -120, e.xbutton.x_root,
                              e.xbutton.y_root);
      } else if (e.xbutton.button == Button1 || e.xbutton.button == Button3) {
        input::PointerButton(over, e.xbutton.button == Button1 ? 1 : 3, down, e.xbutton.x_root,
                             e.xbutton.y_root);
      }
      break;
    }
    case EnterNotify:
      input::PointerMotion(h, e.xcrossing.x_root, e.xcrossing.y_root);
      break;
    case LeaveNotify:
      if (e.xcrossing.mode == NotifyNormal) input::PointerLeft(h);
      break;
    case KeyPress:
    case KeyRelease:
      OnKey(e.xkey, h);
      break;
    case FocusIn:
      if (e.xfocus.mode == NotifyGrab || e.xfocus.mode == NotifyUngrab) break;
      if (n->xic) XSetICFocus(n->xic);
      input::Activate(h);
      break;
    case FocusOut: {
      if (e.xfocus.mode == NotifyGrab || e.xfocus.mode == NotifyUngrab) break;
      if (n->xic) XUnsetICFocus(n->xic);
      // Focus that moves to another window of ours arrives as its FocusIn; otherwise the
      // program is no longer active.
      XEvent next;
      if (XCheckTypedEvent(display_, FocusIn, &next)) {
        ProcessEvent(next);
      } else {
        input::Activate(0);
      }
      break;
    }
    case ClientMessage:
      if (static_cast<Atom>(e.xclient.data.l[0]) == A("WM_DELETE_WINDOW")) input::CloseRequest(h);
      break;
    case PropertyNotify:
      if (e.xproperty.atom == A("_NET_WM_STATE")) ReadWmState(h, *n);
      break;
    default:
      break;
  }
}

}  // namespace

bool UseX11WindowSystem(std::string* error) {
  if (HasBackend()) {
    if (error) *error = "a window system is installed already";
    return false;
  }
  // Committed text is read as UTF-8 whatever the environment's locale.
  const char* locale = std::setlocale(LC_CTYPE, "");
  if (!locale || !XSupportsLocale()) std::setlocale(LC_CTYPE, "C.UTF-8");
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    if (error) {
      const char* name = std::getenv("DISPLAY");
      *error = std::string("cannot open the X display ") + (name ? name : "(DISPLAY is not set)");
    }
    return false;
  }
  return InstallBackend(std::make_unique<X11Backend>(d));
}

}  // namespace lw::ws
