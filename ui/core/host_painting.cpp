// The host's painting: the full render of background, frame and controls, the redraw of a
// rectangle, composing the controls' images (opacity, disabled dimming, repaint transitions),
// presenting, the fade-in, and the show and close animations.
#include <algorithm>
#include <cmath>

#include "ui/controls/ui_control.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/toolkit.h"
#include "ui/core/ui_caption_button.h"
#include "ui/core/ui_host.h"

namespace lw {
namespace {

RectI Covering(const RectF& r) {
  return {static_cast<int>(std::floor(r.left)), static_cast<int>(std::floor(r.top)),
          static_cast<int>(std::ceil(r.left + r.width)),
          static_cast<int>(std::ceil(r.top + r.height))};
}

// Waits `ms` while the window's messages are served (the host is busy meanwhile).
void WaitServing(uint64_t ms) {
  ws::ProcessMessagesUntil(ws::GetTickCount() + ms);
}

}  // namespace

void UiHost::QueueRedraw(const RectF& rect, int mode) {
  queue_.Add(rect, mode);
}

void UiHost::PresentBitmap(const gfx::Bitmap& bitmap, std::optional<RectI> rect) {
  ws::PresentFrame(window_, bitmap, rect, 255);
}

void UiHost::Present(std::optional<RectF> rect) {
  if (busy_ || frame_.IsNull()) return;
  if (Layered() || !rect) {
    PresentBitmap(frame_, std::nullopt);
  } else {
    PresentBitmap(frame_, Covering(*rect));
  }
}

void UiHost::SetWindowRoundRegion(int n, int corner, bool rounded) {
  if (ws::IsZoomed(window_)) --n;
  ws::SetWindowRegion(window_, RoundRectRegion(width_, height_, n, corner, rounded));
}

void UiHost::RedrawRect(const RectF& rect, bool present) {
  if (busy_ || !graphics_) return;
  gfx::Graphics& g = *graphics_;
  if (clip_region_) {
    g.SetClip(*clip_region_);
  } else {
    g.ResetClip();
  }
  g.SetClip(rect, gfx::CombineMode::kIntersect);
  // The background erases what the controls drew there before.
  g.SetCompositingMode(gfx::CompositingMode::kSourceCopy);
  g.DrawImage(background_, rect, rect);
  g.SetCompositingMode(gfx::CompositingMode::kSourceOver);
  ComposeWithin(first_control_, rect);
  g.ResetClip();
  if (present) Present(rect);
}

void UiHost::ComposeWithin(ControlHandle first, const RectF& rect) {
  gfx::Graphics& g = *graphics_;
  for (ControlHandle h = first; h;) {
    UiControl* c = UiControl::FromHandle(h);
    if (!c) break;
    ControlHandle next = c->NextSibling();
    if (c->CurrentVisible() == 1 && RectsOverlap(c->CurrentRect(), rect)) {
      gfx::Graphics::ClipState saved = g.GetClip();
      int opacity = c->CurrentOpacity();
      bool transition = c->TransitionInterval() && c->TransitionFrames() &&
                        c->TransitionFrame() != c->TransitionFrames();
      if (c->CurrentDisabled()) {
        if (DispatchEvent(h, ev::kDisabledOpacityQuery, 0, 1) == -1) opacity /= 2;
        DrawImageAlpha(g, c->Image(), c->CurrentRect(), opacity);
      } else if (transition) {
        TransitionContext tc;
        tc.frame = &frame_;
        tc.frame_graphics = &g;
        tc.scratch = &Scratch();
        tc.new_image = &c->Image();
        tc.previous_image = &c->PreviousImage();
        tc.rect = c->CurrentRect();
        tc.clip_bounds = g.VisibleClipBounds();
        tc.transition_frame = c->TransitionFrame();
        tc.frames = c->TransitionFrames();
        if (DispatchEvent(h, ev::kDrawTransition, 0, reinterpret_cast<ws::LParam>(&tc)) < 1) {
          DrawTransition(*c, float(opacity));
        }
      } else {
        DrawImageAlpha(g, c->Image(), c->CurrentRect(), opacity);
      }
      if (c->FirstChild()) {
        g.SetClip(c->CurrentRect(), gfx::CombineMode::kIntersect);
        ComposeWithin(c->FirstChild(), rect);
        g.SetClip(saved);
      }
    }
    h = next;
  }
}

void UiHost::DrawTransition(UiControl& c, float opacity) {
  gfx::Graphics& g = *graphics_;
  const RectF r = c.CurrentRect();
  const int f = c.TransitionFrame(), n = std::max(1, c.TransitionFrames());
  const gfx::Bitmap& before = c.PreviousImage();
  const gfx::Bitmap& after = c.Image();
  const float o = opacity / 255.0f;
  switch (c.TransitionStyle()) {
    case 0: {
      // Cross-fade: the old image on the frame, the new one on a copy, the copy blended back.
      RectF bounds = g.VisibleClipBounds();
      gfx::Bitmap& scratch = Scratch();
      {
        gfx::Graphics s(scratch);
        s.SetCompositingMode(gfx::CompositingMode::kSourceCopy);
        s.DrawImage(frame_, bounds, bounds);
        s.SetCompositingMode(gfx::CompositingMode::kSourceOver);
        s.SetClip(bounds);
        s.DrawImage(after, r, o);
      }
      if (!before.IsNull()) g.DrawImage(before, r, o);
      g.DrawImage(scratch, bounds, bounds, o * float(f) / float(n));
      return;
    }
    case 1:
    case 2: {
      const float step = float(f) * std::floor(r.height / float(n));
      const float dir = c.TransitionStyle() == 1 ? 1.0f : -1.0f;
      const float old_top = r.top + dir * step;
      if (!before.IsNull()) g.DrawImage(before, r.left, old_top);
      g.DrawImage(after, r.left, old_top - dir * r.height);
      return;
    }
    default: {
      const float step = float(f) * std::floor(r.width / float(n));
      const float dir = c.TransitionStyle() == 3 ? 1.0f : -1.0f;
      const float old_left = r.left + dir * step;
      if (!before.IsNull()) g.DrawImage(before, old_left, r.top);
      g.DrawImage(after, old_left - dir * r.width, r.top);
      return;
    }
  }
}

void UiHost::ComposeAll(ControlHandle first, bool no_refresh) {
  gfx::Graphics& g = *graphics_;
  for (ControlHandle h = first; h;) {
    UiControl* c = UiControl::FromHandle(h);
    if (!c) break;
    ControlHandle next = c->NextSibling();
    if (c->CurrentVisible() == 1) {
      if (!no_refresh) DispatchEvent(h, ev::kHostSnapshot, 0, 0);
      c = UiControl::FromHandle(h);
      if (!c) break;
      int opacity = c->CurrentOpacity();
      if (c->CurrentDisabled() && DispatchEvent(h, ev::kDisabledOpacityQuery, 0, 1) == -1)
        opacity /= 2;
      DrawImageAlpha(g, c->Image(), c->CurrentRect(), opacity);
      if (c->FirstChild()) {
        gfx::Graphics::ClipState saved = g.GetClip();
        g.SetClip(c->CurrentRect(), gfx::CombineMode::kIntersect);
        ComposeAll(c->FirstChild(), no_refresh);
        g.SetClip(saved);
      }
    }
    h = next;
  }
}

int UiHost::RenderBackground(std::optional<std::span<const uint8_t>> image, int64_t color,
                             int present_mode, bool no_refresh) {
  if (!graphics_) return 1;
  busy_ = true;
  const int w = width_, h = height_;
  if (UiHost* skin = FromWindow(skin_source_); skin && skin != this) {
    background_color_ = skin->BackgroundColor();
  } else if (image) {
    background_image_ = LoadImageFromBytes(*image, false, false);
    if (background_image_) background_color_ = AverageColor(background_image_->Frame());
  }
  if (color != -1) background_color_ = static_cast<uint32_t>(color);
  const bool layered = Layered();
  if (present_mode == 1) snapshot_ = frame_;

  gfx::Graphics& g = *graphics_;
  g.ResetClip();
  const RectF inner{5, 5, float(w - 10), float(h - 10)};
  g.Clear(0);
  const gfx::Bitmap* picture = BackgroundImage();
  const bool framed = corner_style_ != 1;
  const bool rounded = corner_style_ != 0;
  if (!framed) {
    if (picture) {
      if (nine_grid_.empty()) {
        g.DrawImage(*picture, 0, 0);
      } else {
        RectF grid{float(nine_grid_.left), float(nine_grid_.top),
                   float(picture->Width() - nine_grid_.left - nine_grid_.right),
                   float(picture->Height() - nine_grid_.top - nine_grid_.bottom)};
        DrawNineGrid(g, *picture, {0, 0, float(w), float(h)}, grid);
      }
    }
  } else {
    g.SetClip(RoundRectRegion(w, h, 6, rounded ? 4 : 0, rounded));
    if (picture) {
      g.Clear(Argb(background_color_, 255));
      const RectF natural{0, 0, float(picture->Width()), float(picture->Height())};
      if (placement_ == 1) {
        g.DrawImage(*picture, inner);
      } else if (placement_ == 2) {
        RectF at{std::round((float(w) - natural.width) / 2),
                 std::round((float(h) - natural.height) / 2), natural.width, natural.height};
        g.DrawImage(*picture, at);
        if (edge_highlight_) EdgeFade(g, at, background_color_, 100, Edges{true, true, true, true});
      } else if (placement_ == 0) {
        RectF at{5, 5, natural.width, natural.height};
        g.DrawImage(*picture, at);
        if (edge_highlight_)
          EdgeFade(g, at, background_color_, 100, Edges{false, false, true, true});
      }
      if (layered) {
        gfx::Bitmap copy = frame_;
        g.Clear(0);
        DrawImageAlpha(g, copy, {0, 0, float(w), float(h)}, opacity_);
      }
    } else {
      g.Clear(Argb(background_color_, layered ? opacity_ : 255));
    }
  }
  if (routines_.background_painter) routines_.background_painter(window_, g, w, h);
  if (framed) {
    RectF border{6, 6, float(w - 12), float(h - 12)};
    if (rounded) {
      DrawRounded(g, border, 7, Argb(0x606060, 204));
      AdjustRect(1, 1, -2, -2, border);
      DrawRounded(g, border, 6, Argb(0xFFFFFF, 102));
    } else {
      DrawFrame(g, border, Argb(0x606060, 204));
      AdjustRect(1, 1, -2, -2, border);
      DrawFrame(g, border, Argb(0xFFFFFF, 102));
    }
    g.ResetClip();
    if (!layered) {
      SetWindowRoundRegion(6, rounded ? 5 : 0, rounded);
    } else if (frame_flags_ & frame::kShadow) {
      DrawShadow(g, inner, rounded, shadow_color_ == -1 ? 0 : static_cast<uint32_t>(shadow_color_));
    }
  }
  background_ = frame_;
  if (framed) {
    clip_region_ = RoundRectRegion(w, h, 7, rounded ? 3 : 0, rounded);
    g.SetClip(*clip_region_);
  } else {
    clip_region_.reset();
  }
  queue_.Bind(window_, this, graphics_.get());
  LayoutCaption();
  ComposeAll(first_control_, no_refresh);
  if (framed) g.ResetClip();
  busy_ = false;
  // Blur behind: no desktop compositor service to ask here, so nothing to set.
  if (present_mode == 0) {
    Present();
  } else if (present_mode == 1) {
    busy_ = true;
    fade_alpha_ = 0;
    ws::SetTimer(window_, handle_, 50,
                 [this](ws::Hwnd, ws::Message, uintptr_t, uint32_t) { FadeInTick(); });
  }
  return 1;
}

void UiHost::FadeInTick() {
  fade_alpha_ = std::min(255, fade_alpha_ + 51);
  gfx::Bitmap step = snapshot_.IsNull() ? gfx::Bitmap(width_, height_) : snapshot_;
  {
    gfx::Graphics g(step);
    g.DrawImage(frame_, {0, 0, float(width_), float(height_)}, float(fade_alpha_) / 255.0f);
  }
  PresentBitmap(step, std::nullopt);
  if (fade_alpha_ >= 255) {
    ws::KillTimer(window_, handle_);
    snapshot_ = gfx::Bitmap();
    busy_ = false;
    Present();
  }
}

void UiHost::Show(int effect, std::optional<int> duration_ms) {
  ws::ProcessPendingMessages();
  if (effect == 0) {
    ws::ShowWindow(window_, ws::SW_SHOWNORMAL);
    return;
  }
  ShowAnimated(effect, duration_ms.value_or(200));
}

void UiHost::ShowAnimated(int effect, int duration) {
  if (!Layered()) {
    ws::SetExStyle(window_, ws::GetExStyle(window_) | ws::WS_EX_LAYERED);
    bool rounded = corner_style_ != 0;
    SetWindowRoundRegion(6, rounded ? 5 : 0, rounded);
  }
  busy_ = true;
  const int w = width_, h = height_;
  gfx::Bitmap temp(w, h);
  gfx::Graphics g(temp);
  g.Clear(0x00FFFFFF);
  PresentBitmap(temp, std::nullopt);
  ws::ShowWindow(window_, ws::SW_SHOWNORMAL);
  const RectF whole{0, 0, float(w), float(h)};
  for (int i = 1; i <= 10; ++i) {
    const float a = float(25 * (i - 1)) / 255.0f;
    g.Clear(0);
    if (effect == 1) {
      g.DrawImage(frame_, whole, a);
    } else if (effect == 7) {
      float dx = float((10 - i) * static_cast<int>(std::floor(0.1 * w / 10)));
      float dy = float((10 - i) * static_cast<int>(std::floor(0.1 * h / 10)));
      g.DrawImage(frame_, {dx, dy, float(w) - 2 * dx, float(h) - 2 * dy}, a);
    } else {
      // A wipe: the revealed part at a(i), then a soft edge 100 pixels deep fading to 0.
      const bool horizontal = effect == 3 || effect == 4;
      const int extent = horizontal ? w : h;
      const int revealed = std::min(extent, i * (extent / 10));
      const bool from_start = effect == 3 || effect == 5;
      auto line = [&](int k, float alpha) {
        int at = from_start ? k : extent - 1 - k;
        RectF part =
            horizontal ? RectF{float(at), 0, 1, float(h)} : RectF{0, float(at), float(w), 1};
        g.DrawImage(frame_, part, part, alpha);
      };
      RectF solid =
          horizontal ? RectF{from_start ? 0.0f : float(w - revealed), 0, float(revealed), float(h)}
                     : RectF{0, from_start ? 0.0f : float(h - revealed), float(w), float(revealed)};
      if (revealed > 0) g.DrawImage(frame_, solid, solid, a);
      for (int k = revealed; k < std::min(extent, revealed + 100); ++k) {
        line(k, a * (1.0f - float(k - revealed) / 100.0f));
      }
    }
    PresentBitmap(temp, std::nullopt);
    WaitServing(effect == 7 ? std::min(11 - i, 10) : duration / 10);
  }
  g.Clear(0);
  g.DrawImage(frame_, whole);
  PresentBitmap(temp, std::nullopt);
  busy_ = false;
  Present();
  ws::InvalidateRect(window_);
}

void UiHost::PlayCloseEffect() {
  const int w = width_, h = height_;
  if (w <= 0 || h <= 0 || frame_.IsNull()) return;
  gfx::Bitmap temp(w, h);
  gfx::Graphics g(temp);
  g.DrawImage(frame_, 0, 0);
  if (!Layered()) ws::SetExStyle(window_, ws::GetExStyle(window_) | ws::WS_EX_LAYERED);
  PresentBitmap(temp, std::nullopt);
  busy_ = true;
  const int effect = close_effect_;
  auto frame_at = [&](int frames, auto&& draw, auto&& wait) {
    for (int i = 1; i <= frames; ++i) {
      g.Clear(0);
      draw(i);
      PresentBitmap(temp, std::nullopt);
      WaitServing(wait(i));
    }
  };
  if (effect == 1) {
    frame_at(
        15,
        [&](int i) {
          g.DrawImage(frame_, {0, 0, float(w), float(h)}, float(255 - 17 * i) / 255.0f);
        },
        [](int) { return 10; });
  } else if (effect == 2) {
    frame_at(
        20,
        [&](int i) {
          float x, y, cw, ch;
          if (i <= 3) {
            x = y = static_cast<float>(static_cast<int>(-0.75 * i));
            cw = static_cast<float>(static_cast<int>(w + 1.5 * i));
            ch = static_cast<float>(static_cast<int>(h + 1.5 * i));
          } else {
            x = y = float(i - 8);
            cw = float(w + 16 - 2 * i);
            ch = float(h + 16 - 2 * i);
          }
          g.DrawImage(frame_, {x, y, cw, ch}, float(255 - 12 * i) / 255.0f);
        },
        [](int i) { return std::max(16 - i, 10); });
  } else if (effect == 7) {
    frame_at(
        15,
        [&](int i) {
          float dx = float((i - 1) * static_cast<int>(std::floor(0.1 * w / 15)));
          float dy = float((i - 1) * static_cast<int>(std::floor(0.1 * h / 15)));
          g.DrawImage(frame_, {dx, dy, float(w) - 2 * dx, float(h) - 2 * dy},
                      float(255 - 17 * i) / 255.0f);
        },
        [](int i) { return std::max(13 - i, 1); });
  } else {
    const bool horizontal = effect == 3 || effect == 4;
    const int extent = horizontal ? w : h;
    frame_at(
        15,
        [&](int i) {
          const float alpha = float(255 - 17 * i) / 255.0f;
          const int offset = i * (extent / 15);
          // Effect 3 keeps the part nearest the right edge, 4 the left, 5 the bottom,
          // the others the top; the 100 lines at the moving edge fade out.
          const bool keep_end = effect == 3 || effect == 5;
          const int shown = extent - offset;
          for (int k = 0; k < shown; ++k) {
            int at = keep_end ? offset + k : k;
            int from_edge = keep_end ? k : shown - 1 - k;
            float a = from_edge < 100 ? alpha * float(from_edge) / 100.0f : alpha;
            RectF part =
                horizontal ? RectF{float(at), 0, 1, float(h)} : RectF{0, float(at), float(w), 1};
            g.DrawImage(frame_, part, part, a);
          }
        },
        [](int) { return 8; });
  }
  g.Clear(0);
  PresentBitmap(temp, std::nullopt);
  busy_ = false;
}

}  // namespace lw
