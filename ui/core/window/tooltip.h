// A tooltip window: one tool, a rectangle of its owner window with a text, shown near the
// pointer when the pointer rests on the rectangle. The owner's window procedure hands it the
// mouse messages it gets (RelayMouse), as the system's tooltips see them by subclassing.
#pragma once

#include <memory>
#include <string>

#include "ui/core/gfx/font.h"
#include "ui/core/window/window_system.h"

namespace lw::ws {

class Tooltip {
 public:
  // The window class of tooltip windows.
  static constexpr const char* kClassName = "tooltips_class32";
  static constexpr uint32_t kShowDelayMs = 500;

  // A hidden tooltip window for `owner`, drawing with `font`.
  Tooltip(Hwnd owner, std::shared_ptr<gfx::Font> font);
  ~Tooltip();
  Tooltip(const Tooltip&) = delete;
  Tooltip& operator=(const Tooltip&) = delete;

  Hwnd window() const { return window_; }
  // The tool: a rectangle in the owner's pixels and its text (GBK). AddTool replaces it.
  void AddTool(const RectI& rect, std::string_view text);
  void DeleteTool();
  void SetToolRect(const RectI& rect);
  void SetText(std::string_view text);
  bool HasTool() const { return has_tool_; }
  const std::string& Text() const { return text_; }
  void SetMaxWidth(int pixels) { max_width_ = pixels; }
  bool Visible() const;

  // A mouse message of the owner window (coordinates in its pixels).
  void RelayMouse(Message m, int x, int y);

 private:
  void Show();
  void Hide();
  LResult Proc(Hwnd h, Message m, WParam w, LParam l);

  Hwnd owner_;
  Hwnd window_ = 0;
  std::shared_ptr<gfx::Font> font_;
  bool has_tool_ = false;
  RectI rect_;
  std::string text_;
  int max_width_ = 1024;
  PointI last_;  // where the pointer rests, screen pixels
  gfx::Bitmap frame_;
};

}  // namespace lw::ws
