// asset_generator: draws the program's pictures with the drawing layer and writes them as PNG
// files into the folder given (the build embeds the ones in assets/).
//
//   asset_generator assets/
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "ui/core/gfx/graphics.h"

namespace {

using namespace lw;
using namespace lw::gfx;

constexpr Argb kGlyph = 0xFF4A5562;   // caption glyphs: dark slate
constexpr Argb kAccent = 0xFF2F7FD8;  // the program's blue
constexpr Argb kOrange = 0xFFFF7A1A;  // the program's orange

Path RoundRect(float x, float y, float w, float h, float r) {
  Path p;
  float d = 2 * r;
  p.StartFigure();
  p.AddArc(x, y, d, d, 180, 90);
  p.AddArc(x + w - d, y, d, d, 270, 90);
  p.AddArc(x + w - d, y + h - d, d, d, 0, 90);
  p.AddArc(x, y + h - d, d, d, 90, 90);
  p.CloseFigure();
  return p;
}

Path Circle(float cx, float cy, float r) {
  Path p;
  p.StartFigure();
  p.AddArc(cx - r, cy - r, 2 * r, 2 * r, 0, 360);
  p.CloseFigure();
  return p;
}

void Save(const Bitmap& b, const std::filesystem::path& file) {
  cairo_surface_write_to_png(static_cast<cairo_surface_t*>(b.NativeSurface()), file.c_str());
  std::printf("wrote %s (%d x %d)\n", file.c_str(), b.Width(), b.Height());
}

Bitmap Draw(int w, int h, const std::function<void(Graphics&)>& paint) {
  Bitmap b(w, h);
  Graphics g(b);
  g.SetSmoothingMode(SmoothingMode::kAntiAlias);
  paint(g);
  return b;
}

// One caption glyph, centred in a cell of w × 19 pixels at (x, 2).
enum class Glyph { kClose, kMaximize, kRestore, kMinimize, kPin, kHelp, kSettings, kMenu };

void DrawGlyph(Graphics& g, Glyph glyph, float x, float w, int state, bool is_close) {
  const float top = 2, h = 18;
  if (state > 0) {
    Argb back =
        is_close ? (state == 1 ? 0xFFE5484D : 0xFFC4333A) : (state == 1 ? 0x26000000 : 0x40000000);
    g.FillPath(Brush::Solid(back), RoundRect(x + 1, top, w - 2, h, 4));
  }
  Argb ink = (is_close && state > 0) ? 0xFFFFFFFF : kGlyph;
  Pen pen(ink, 1.4f);
  float cx = x + w / 2, cy = top + h / 2;
  switch (glyph) {
    case Glyph::kClose:
      g.DrawLine(pen, cx - 4, cy - 4, cx + 4, cy + 4);
      g.DrawLine(pen, cx + 4, cy - 4, cx - 4, cy + 4);
      break;
    case Glyph::kMaximize:
      g.DrawRectangle(Pen(ink, 1.0f), {cx - 4.5f, cy - 4.5f, 9, 9});
      break;
    case Glyph::kRestore:
      g.DrawRectangle(Pen(ink, 1.0f), {cx - 4.5f, cy - 2.5f, 7, 7});
      g.DrawLine(Pen(ink, 1.0f), cx - 2.5f, cy - 4.5f, cx + 4.5f, cy - 4.5f);
      g.DrawLine(Pen(ink, 1.0f), cx + 4.5f, cy - 4.5f, cx + 4.5f, cy + 2.5f);
      break;
    case Glyph::kMinimize:
      g.DrawLine(Pen(ink, 1.0f), cx - 5, cy + 1, cx + 5, cy + 1);
      break;
    case Glyph::kPin:
      g.DrawLine(pen, cx - 4, cy - 4, cx + 4, cy - 4);
      g.DrawLine(pen, cx, cy - 2, cx, cy + 5);
      g.DrawLine(pen, cx - 3, cy + 1, cx, cy - 2);
      g.DrawLine(pen, cx + 3, cy + 1, cx, cy - 2);
      break;
    case Glyph::kHelp:
      g.DrawPath(pen, [&] {
        Path p;
        p.AddArc(cx - 3.5f, cy - 5.5f, 7, 7, 180, 270);
        p.AddLine(cx, cy + 1.5f, cx, cy + 2.5f);
        return p;
      }());
      g.FillPath(Brush::Solid(ink), Circle(cx, cy + 4.8f, 0.9f));
      break;
    case Glyph::kSettings:
      g.DrawPath(pen, Circle(cx, cy, 2.2f));
      for (int k = 0; k < 8; ++k) {
        double a = k * M_PI / 4;
        g.DrawLine(pen, cx + 3.6f * float(std::cos(a)), cy + 3.6f * float(std::sin(a)),
                   cx + 5.4f * float(std::cos(a)), cy + 5.4f * float(std::sin(a)));
      }
      break;
    case Glyph::kMenu:
      for (int k = -1; k <= 1; ++k)
        g.DrawLine(Pen(ink, 1.0f), cx - 5, cy + 3.0f * k, cx + 5, cy + 3.0f * k);
      break;
  }
}

Bitmap CaptionButtons() {
  return Draw(729, 20, [](Graphics& g) {
    struct Cell {
      Glyph glyph;
      float x0, w;
      bool close;
    };
    const Cell cells[] = {{Glyph::kClose, 0, 39, true},       {Glyph::kMaximize, 120, 28, false},
                          {Glyph::kRestore, 207, 28, false},  {Glyph::kMinimize, 294, 28, false},
                          {Glyph::kPin, 381, 28, false},      {Glyph::kHelp, 468, 28, false},
                          {Glyph::kSettings, 555, 28, false}, {Glyph::kMenu, 642, 28, false}};
    for (const Cell& c : cells) {
      for (int state = 0; state < 3; ++state) {
        DrawGlyph(g, c.glyph, c.x0 + state * (c.w + 1), c.w, state, c.close);
      }
    }
  });
}

Bitmap CheckBoxes() {
  return Draw(68, 17, [](Graphics& g) {
    for (int i = 0; i < 4; ++i) {
      float x = 17.0f * i;
      bool checked = i >= 2, hot = i % 2 == 1;
      Path box = RoundRect(x + 2, 2, 13, 13, 3);
      if (checked) {
        g.FillPath(Brush::Solid(hot ? 0xFF4A93E6 : kAccent), box);
        Pen tick(0xFFFFFFFF, 1.8f);
        g.DrawLine(tick, x + 5, 8.5f, x + 7.5f, 11);
        g.DrawLine(tick, x + 7.5f, 11, x + 12, 5.5f);
      } else {
        g.FillPath(Brush::Solid(0xFFFFFFFF), box);
        g.DrawPath(Pen(hot ? kAccent : 0xFF8A96A3, 1.0f), box);
      }
    }
  });
}

Bitmap CheckMark() {
  return Draw(20, 20, [](Graphics& g) {
    Pen tick(kAccent, 2.2f);
    g.DrawLine(tick, 4.5f, 10.5f, 8.5f, 14.5f);
    g.DrawLine(tick, 8.5f, 14.5f, 15.5f, 5.5f);
  });
}

Bitmap WindowBackground() {
  return Draw(420, 320, [](Graphics& g) {
    g.FillRectangle(
        Brush::Gradient({0, 0, 420, 320}, 0xFFEAF3FC, 0xFFF9FBFE, LinearGradientMode::kVertical),
        {0, 0, 420, 320});
    // Soft shapes in the corners, kept faint so text stays easy to read: each is many faint
    // discs, so its edge fades out.
    auto soft = [&](float cx, float cy, float r, Argb color) {
      for (int k = 0; k < 10; ++k)
        g.FillPath(Brush::Solid(color), Circle(cx, cy, r * (1 - k / 16.0f)));
    };
    soft(380, 20, 130, 0x062F7FD8);
    soft(20, 300, 140, 0x05FF7A1A);
    soft(300, 340, 90, 0x042F7FD8);
    g.FillRectangle(
        Brush::Gradient({0, 0, 420, 40}, 0x33FFFFFF, 0x00FFFFFF, LinearGradientMode::kVertical),
        {0, 0, 420, 40});
  });
}

Bitmap PinIcon(int size, bool leave) {
  return Draw(size, size, [&](Graphics& g) {
    float s = size / 22.0f;
    g.FillPath(Brush::Solid(leave ? 0xFF8A96A3 : kAccent),
               RoundRect(2 * s, 2 * s, 18 * s, 18 * s, 4 * s));
    Pen pen(0xFFFFFFFF, 1.8f * s);
    g.DrawLine(pen, 6 * s, 6.5f * s, 16 * s, 6.5f * s);
    if (!leave) {
      g.DrawLine(pen, 11 * s, 9 * s, 11 * s, 17 * s);
      g.DrawLine(pen, 7.5f * s, 12.5f * s, 11 * s, 9 * s);
      g.DrawLine(pen, 14.5f * s, 12.5f * s, 11 * s, 9 * s);
    } else {
      g.DrawLine(pen, 11 * s, 9 * s, 11 * s, 17 * s);
      g.DrawLine(pen, 7.5f * s, 13.5f * s, 11 * s, 17 * s);
      g.DrawLine(pen, 14.5f * s, 13.5f * s, 11 * s, 17 * s);
    }
  });
}

Bitmap ChatIcon(int size, Argb color, int dots) {
  return Draw(size, size, [&](Graphics& g) {
    float s = size / 20.0f;
    Path bubble = RoundRect(1.5f * s, 2 * s, 17 * s, 12.5f * s, 5 * s);
    g.FillPath(Brush::Solid(color), bubble);
    g.FillPolygon(Brush::Solid(color), {{5 * s, 13 * s}, {5 * s, 18 * s}, {10 * s, 13 * s}});
    for (int k = 0; k < dots; ++k) {
      float cx = (10 + (k - (dots - 1) / 2.0f) * 4.2f) * s;
      g.FillPath(Brush::Solid(0xFFFFFFFF), Circle(cx, 8.3f * s, 1.4f * s));
    }
  });
}

Bitmap HomeIcon(int size) {
  return Draw(size, size, [&](Graphics& g) {
    float s = size / 22.0f;
    g.FillPolygon(Brush::Solid(kOrange),
                  {{11 * s, 2.5f * s}, {20 * s, 10.5f * s}, {2 * s, 10.5f * s}});
    g.FillRectangle(Brush::Solid(kOrange), {4.5f * s, 10 * s, 13 * s, 9.5f * s});
    g.FillRectangle(Brush::Solid(0xFFFFFFFF), {9 * s, 13 * s, 4 * s, 6.5f * s});
  });
}

Bitmap ProgramIcon(int size) {
  return Draw(size, size, [&](Graphics& g) {
    float s = size / 48.0f;
    g.FillPath(Brush::Gradient({0, 0, float(size), float(size)}, 0xFFFF9A3C, 0xFFF25C05,
                               LinearGradientMode::kVertical),
               RoundRect(2 * s, 2 * s, 44 * s, 44 * s, 10 * s));
    // Keyword bars, and a magnifier over them.
    g.FillPath(Brush::Solid(0xE6FFFFFF), RoundRect(9 * s, 11 * s, 22 * s, 4.5f * s, 2.2f * s));
    g.FillPath(Brush::Solid(0xB3FFFFFF), RoundRect(9 * s, 19 * s, 15 * s, 4.5f * s, 2.2f * s));
    g.FillPath(Brush::Solid(0x80FFFFFF), RoundRect(9 * s, 27 * s, 10 * s, 4.5f * s, 2.2f * s));
    g.DrawPath(Pen(0xFFFFFFFF, 3.2f * s), Circle(30 * s, 27 * s, 7 * s));
    g.DrawLine(Pen(0xFFFFFFFF, 3.6f * s), 35 * s, 32 * s, 40 * s, 37 * s);
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: asset_generator OUTPUT_FOLDER\n");
    return 2;
  }
  std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  Save(CaptionButtons(), out / "caption_buttons.png");
  Save(CheckBoxes(), out / "check_box.png");
  Save(CheckMark(), out / "check_mark.png");
  Save(WindowBackground(), out / "window_background.png");
  Save(PinIcon(22, false), out / "icon_topmost.png");
  Save(PinIcon(22, true), out / "icon_leave_top.png");
  Save(ChatIcon(20, 0xFF1E9FFF, 2), out / "icon_qq.png");
  Save(ChatIcon(25, kOrange, 3), out / "icon_wangwang.png");
  Save(HomeIcon(22), out / "icon_home.png");
  for (int size : {16, 20, 32, 48}) {
    Save(ProgramIcon(size), out / ("program_icon_" + std::to_string(size) + ".png"));
  }
  return 0;
}
