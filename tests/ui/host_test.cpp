// The host window and its painting on the headless window system, checked on the pixels it
// presents.
#include <cmath>
#include <cstdlib>

#include "tests/ui/host_fixture.h"
#include "ui/core/draw_helpers.h"

namespace lw::test {
namespace {

int Alpha(gfx::Argb c) {
  return gfx::AlphaOf(c);
}
bool Near(gfx::Argb a, gfx::Argb b, int tolerance) {
  for (int shift : {24, 16, 8, 0}) {
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  }
  return true;
}

TEST_F(HostTest, AttachingTwiceOrToNoWindowFails) {
  MakeWindow();
  UiHost host;
  AttachParams p;
  p.window = window_;
  EXPECT_TRUE(host.Attach(p));
  EXPECT_FALSE(host.Attach(p));
  EXPECT_EQ(UiHost::FromWindow(window_), &host);
  EXPECT_EQ(ws::GetProp(window_, kHostProperty), host.Handle());
  UiHost other;
  p.window = 0;
  EXPECT_FALSE(other.Attach(p));
  ws::DestroyWindow(window_);
  EXPECT_FALSE(host.Attached());  // detached on WM_DESTROY
  p.window = window_;
  EXPECT_FALSE(other.Attach(p));
}

TEST_F(HostTest, FrameFlags0x114GiveThreeCaptionButtonsFromTheRight) {
  AttachParams p;
  p.frame_flags = 0x114;
  p.opacity = 255;
  Attach(p);
  EXPECT_EQ(host_->FrameFlags(), 0x114 | frame::kShadow);
  const auto& buttons = host_->CaptionButtons();
  ASSERT_EQ(buttons.size(), 3u);
  EXPECT_EQ(buttons[0]->Kind(), frame::kClose);
  EXPECT_EQ(buttons[1]->Kind(), frame::kMinimize);
  EXPECT_EQ(buttons[2]->Kind(), 256);
  EXPECT_EQ(buttons[0]->CurrentRect(), (RectF{kWidth - 45.0f, 7, 39, 19}));
  EXPECT_EQ(buttons[1]->CurrentRect().left, kWidth - 73.0f);
  EXPECT_EQ(buttons[2]->CurrentRect().left, kWidth - 101.0f);
  // The window's style lost its maximize box; the system menu is on.
  EXPECT_FALSE(ws::GetStyle(window_) & ws::WS_MAXIMIZEBOX);
  EXPECT_TRUE(ws::GetStyle(window_) & ws::WS_SYSMENU);

  // Button 256 does nothing of its own: the application's click routine sees it.
  int kind = 0;
  host_->SetClickRoutine([&](ws::Hwnd, ControlHandle c, ws::WParam, ws::LParam, int k) {
    EXPECT_EQ(k, kind::kCaptionButton);
    kind = static_cast<UiCaptionButton*>(UiControl::FromHandle(c))->Kind();
  });
  ws::headless::ClickIn(window_, kWidth - 90, 15);
  Pump();
  EXPECT_EQ(kind, 256);
  ws::headless::ClickIn(window_, kWidth - 60, 15);  // minimize
  Pump();
  EXPECT_TRUE(ws::IsIconic(window_));
  ws::ShowWindow(window_, ws::SW_RESTORE);
  ws::headless::ClickIn(window_, kWidth - 25, 15);  // close: the window's own procedure closes it
  Pump();
  EXPECT_EQ(Passed(ws::WM_CLOSE), 1);
  EXPECT_FALSE(ws::IsWindow(window_));
}

TEST_F(HostTest, TheCaptionButtonsShowTheirGlyphs) {
  AttachParams p;
  p.frame_flags = 0x114;
  p.background_color = 0xF0F0F0;
  Attach(p);
  const gfx::Bitmap& sprite = ButtonSprite();
  gfx::Bitmap shown = Shown();
  // The close button's normal glyph, drawn at (width - 45, 7) from (0, 2) of the strip: dark
  // where the glyph is, the frame's own colour where it is not.
  const int bx = kWidth - 45, by = 7;
  const int back = gfx::GreenOf(shown.GetPixel(bx + 1, by + 1));
  int glyph = 0, dark = 0, clear = 0, same = 0;
  for (int y = 0; y < 18; ++y) {
    for (int x = 0; x < 39; ++x) {
      int a = Alpha(sprite.GetPixel(x, 2 + y));
      int g = gfx::GreenOf(shown.GetPixel(bx + x, by + y));
      if (a >= 160) {
        ++glyph;
        dark += g < back - 40;
      } else if (a == 0) {
        ++clear;
        same += std::abs(g - back) < 8;
      }
    }
  }
  EXPECT_GT(glyph, 5);
  EXPECT_GT(dark, glyph * 8 / 10);
  EXPECT_GT(same, clear * 8 / 10);
  // Hot when the pointer is over it.
  auto* close = host_->CaptionButtons()[0].get();
  ws::headless::MoveMouseIn(window_, kWidth - 25, 15);
  Pump();
  EXPECT_EQ(close->State(), 1);
}

TEST_F(HostTest, MinMaxInfoFollowsTheCaption) {
  AttachParams p;
  p.frame_flags = 0x114;
  Attach(p);
  backend_->SetWorkArea({0, 0, 1000, 700});
  ws::MinMaxInfo mm;
  ws::SendMessage(window_, ws::WM_GETMINMAXINFO, 0, reinterpret_cast<ws::LParam>(&mm));
  EXPECT_EQ(mm.min_track_size, (ws::PointI{131, 38}));
  EXPECT_EQ(mm.max_size, (ws::PointI{1014, 714}));
  EXPECT_EQ(mm.max_position, (ws::PointI{-7, -7}));
}

TEST_F(HostTest, ControlsComposeAtTheirOpacityAndDisabledAtHalfOfIt) {
  AttachPlain(255);
  Box a(0xFFFF0000);
  a.Make(window_, {20, 40, 50, 50});
  Pump();
  EXPECT_EQ(Shown().GetPixel(30, 50), 0xFFFF0000u);
  a.Opacity(128);
  Pump();
  EXPECT_NEAR(Alpha(Shown().GetPixel(30, 50)), 128, 2);
  a.Disabled(1);
  Pump();
  EXPECT_NEAR(Alpha(Shown().GetPixel(30, 50)), 64, 2);
  // A control that answers 10254 keeps its opacity while disabled.
  a.full_when_disabled = true;
  a.Invalidate();
  Pump();
  EXPECT_NEAR(Alpha(Shown().GetPixel(30, 50)), 128, 2);
}

TEST_F(HostTest, HidingAControlShowsTheBackgroundAgain) {
  AttachParams p;
  p.frame_flags = 0;
  p.background_color = 0x40A040;
  Attach(p);
  gfx::Argb background = Shown().GetPixel(100, 100);
  Box a(0xFF0000FF);
  a.Make(window_, {80, 80, 60, 60});
  Pump();
  EXPECT_EQ(Shown().GetPixel(100, 100), 0xFF0000FFu);
  a.Visible(2);  // any value but 1 is not shown
  Pump();
  EXPECT_EQ(Shown().GetPixel(100, 100), background);
  EXPECT_EQ(host_->HitTest(100, 100), 0u);
}

TEST_F(HostTest, ASlideTransitionMovesTheOldImageTwentyPixelsAFrame) {
  AttachPlain(255);
  Box a(0xFFFF0000);
  const float left = 100, top = 100;
  a.Make(window_, {left, top, 100, 40});
  Pump();
  a.TransitionStyle(3);
  a.Transition(5, 30);
  a.SetColor(0xFF0000FF);  // the new image slides in from the left
  for (int f = 1; f <= 4; ++f) {
    backend_->AdvanceTime(30);
    Pump();
    gfx::Bitmap shown = Shown();
    int edge = static_cast<int>(left) + 20 * f;
    EXPECT_EQ(shown.GetPixel(edge - 2, 120), 0xFF0000FFu) << "frame " << f;  // new
    EXPECT_EQ(shown.GetPixel(edge + 2, 120), 0xFFFF0000u) << "frame " << f;  // old
  }
  backend_->AdvanceTime(30);
  Pump();
  EXPECT_EQ(Shown().GetPixel(195, 120), 0xFF0000FFu);
  EXPECT_EQ(a.TransitionFrame(), 0);
  EXPECT_EQ(a.Count(ev::kTransitionFinished), 1);
}

TEST_F(HostTest, ShowEffectFiveRevealsFromTheTopInTenFrames) {
  AttachParams p;
  p.frame_flags = 0;
  p.corner_style = 0;
  p.opacity = 255;
  p.background_color = 0x808080;
  MakeWindow();
  p.window = window_;
  host_ = std::make_unique<UiHost>();
  ASSERT_TRUE(host_->Attach(p));
  backend_->RecordFrames(window_, true);
  uint64_t start = ws::GetTickCount();
  host_->Show(5);
  EXPECT_GE(ws::GetTickCount() - start, 200u);  // ten frames of 20 ms
  auto frames = backend_->RecordedFrames(window_);
  // A transparent first look, ten frames, the whole frame, and the final present.
  ASSERT_GE(frames.size(), 12u);
  const int step = kHeight / 10;
  for (int i = 1; i <= 10; ++i) {
    const gfx::Bitmap& f = frames[static_cast<size_t>(i)];
    int expected_alpha = std::min(254, 25 * (i - 1));
    int revealed = i * step;
    if (revealed < kHeight - 10) {
      EXPECT_NEAR(Alpha(f.GetPixel(200, revealed - 1)), expected_alpha * 254 / 255, 3)
          << "frame " << i;
    }
    if (revealed + 101 < kHeight) {
      EXPECT_EQ(Alpha(f.GetPixel(200, revealed + 101)), 0) << "frame " << i;
    }
    if (i > 1 && revealed + 50 < kHeight - 10) {
      int soft = Alpha(f.GetPixel(200, revealed + 50));
      EXPECT_GT(soft, 0);
      EXPECT_LT(soft, expected_alpha);
    }
  }
  EXPECT_EQ(Alpha(frames[0].GetPixel(200, 100)), 0);
  EXPECT_TRUE(ws::IsWindowVisible(window_));
  EXPECT_FALSE(host_->Busy());
}

TEST_F(HostTest, TheMainWindowsBackgroundFadesAtItsRightAndBottomEdges) {
  AttachParams p;
  auto png = assets::WindowBackground();
  p.image.assign(png.begin(), png.end());
  p.frame_flags = 0x114;
  p.opacity = 255;
  Attach(p);
  auto image = LoadImageFromBytes(png, false, false);
  ASSERT_TRUE(image);
  uint32_t average = AverageColor(image->Frame());
  EXPECT_EQ(host_->BackgroundColor(), average);
  gfx::Bitmap shown = Shown();
  // The picture at (5, 5): well inside, the window shows the image's own pixels.
  EXPECT_TRUE(Near(shown.GetPixel(60, 150), image->Frame().GetPixel(55, 145), 3));
  // Towards the right and bottom edges it dissolves into the average colour.
  gfx::Argb avg = Argb(average, 255) | 0xFF000000u;
  int far_right = 0, near_right = 0;
  for (int k = 0; k < 3; ++k) {
    gfx::Argb edge = shown.GetPixel(kWidth - 10, 100 + k),
              image_px = image->Frame().GetPixel(kWidth - 15, 95 + k);
    far_right += std::abs(int(gfx::BlueOf(edge)) - int(gfx::BlueOf(avg)));
    near_right += std::abs(int(gfx::BlueOf(image_px)) - int(gfx::BlueOf(avg)));
  }
  EXPECT_LE(far_right, near_right + 3);
  gfx::Argb bottom = shown.GetPixel(200, kHeight - 10);
  EXPECT_TRUE(Near(bottom | 0xFF000000u, avg, 12)) << std::hex << bottom << " " << avg;
  // The layered window has its drop shadow outside the frame.
  EXPECT_GT(Alpha(shown.GetPixel(200, 4)), 0);
  EXPECT_LT(Alpha(shown.GetPixel(200, 4)), 100);
  EXPECT_EQ(Alpha(shown.GetPixel(200, 0)), 0);
}

TEST_F(HostTest, AResizeOfTheSameSizeDoesNothing) {
  AttachPlain();
  int resized = 0;
  host_->SetResizedRoutine([&](ws::Hwnd, int, int) { ++resized; });
  ws::SendMessage(window_, ws::WM_SIZE, ws::SIZE_RESTORED, ws::MakeLParam(kWidth, kHeight));
  ws::SendMessage(window_, ws::WM_SIZE, ws::SIZE_MINIMIZED, 0);
  EXPECT_EQ(resized, 0);
  ws::MoveWindow(window_, {50, 50, 50 + 500, 50 + 400});
  EXPECT_EQ(resized, 1);
  EXPECT_EQ(host_->Width(), 500);
  EXPECT_EQ(host_->FrameBitmap().Width(), 500);
}

}  // namespace
}  // namespace lw::test
