#include "ui/core/window/tooltip.h"

#include <algorithm>
#include <cmath>

#include "base/codepage.h"
#include "ui/core/gfx/graphics.h"

namespace lw::ws {
namespace {

constexpr uintptr_t kShowTimer = 1;

bool Inside(const RectI& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

Tooltip::Tooltip(Hwnd owner, std::shared_ptr<gfx::Font> font)
    : owner_(owner), font_(std::move(font)) {
  if (!IsClassRegistered(kClassName)) {
    WindowClassInfo cls;
    cls.name = kClassName;
    cls.style = 0;
    RegisterClass(cls);
  }
  CreateParams p;
  p.class_name = kClassName;
  p.style = WS_POPUP;
  p.ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  p.rect = {0, 0, 1, 1};
  p.owner = owner;
  window_ = CreateWindow(p);
  SetWindowProc(window_,
                [this](Hwnd h, Message m, WParam w, LParam l) { return Proc(h, m, w, l); });
}

Tooltip::~Tooltip() {
  if (IsWindow(window_)) {
    SetWindowProc(window_, {});
    DestroyWindow(window_);
  }
}

void Tooltip::AddTool(const RectI& rect, std::string_view text) {
  has_tool_ = true;
  rect_ = rect;
  text_ = std::string(text);
}

void Tooltip::DeleteTool() {
  has_tool_ = false;
  text_.clear();
  Hide();
}

void Tooltip::SetToolRect(const RectI& rect) {
  rect_ = rect;
}

void Tooltip::SetText(std::string_view text) {
  text_ = std::string(text);
  if (Visible()) Show();
}

bool Tooltip::Visible() const {
  return IsWindowVisible(window_);
}

void Tooltip::RelayMouse(Message m, int x, int y) {
  if (!has_tool_ || text_.empty()) {
    Hide();
    return;
  }
  bool inside = Inside(rect_, x, y);
  if (m == WM_MOUSEMOVE && inside) {
    RectI owner = GetWindowRect(owner_);
    PointI at{owner.left + x, owner.top + y};
    if (!Visible() && at != last_) SetTimer(window_, kShowTimer, kShowDelayMs);
    last_ = at;
    return;
  }
  // Leaving the tool, pressing a button or the wheel hide it.
  KillTimer(window_, kShowTimer);
  Hide();
}

void Tooltip::Show() {
  if (text_.empty() || !font_) return;
  std::u16string text = ToWide(text_);
  gfx::StringFormat format;
  format.hotkey_prefix = gfx::HotkeyPrefix::kNone;
  gfx::Bitmap scratch(1, 1);
  gfx::Graphics measure(scratch);
  RectF box = measure.MeasureString(text, *font_, {0, 0, float(max_width_), 0}, format);
  int w = static_cast<int>(std::ceil(box.width)) + 10,
      h = static_cast<int>(std::ceil(box.height)) + 6;
  frame_ = gfx::Bitmap(w, h);
  {
    gfx::Graphics g(frame_);
    g.SetTextRenderingHint(gfx::TextRenderingHint::kAntiAliasGridFit);
    g.Clear(0xFFFFFFF0);
    g.DrawRectangle(gfx::Pen(0xFF767676), {0, 0, float(w - 1), float(h - 1)});
    g.DrawString(text, *font_, {5, 3, float(max_width_), 0}, format, gfx::Brush::Solid(0xFF222222));
  }
  // Below and right of the pointer, kept on the work area.
  RectI work = GetWorkArea();
  int x = std::min(last_.x + 12, work.right - w), y = last_.y + 20;
  if (y + h > work.bottom) y = last_.y - h - 4;
  MoveWindow(window_, {x, y, x + w, y + h});
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  PresentFrame(window_, frame_);
}

void Tooltip::Hide() {
  if (Visible()) ShowWindow(window_, SW_HIDE);
}

LResult Tooltip::Proc(Hwnd h, Message m, WParam w, LParam l) {
  switch (m) {
    case WM_TIMER:
      if (w == kShowTimer) {
        KillTimer(window_, kShowTimer);
        Show();
      }
      return 0;
    case WM_PAINT:
      BeginPaint(h);
      EndPaint(h);
      if (!frame_.IsNull()) PresentFrame(h, frame_);
      return 0;
    default:
      return DefWindowProc(h, m, w, l);
  }
}

}  // namespace lw::ws
