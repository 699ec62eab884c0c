// Pictures decoded from the bytes of a PNG, JPEG, GIF or BMP file, with all frames of an
// animated GIF and their delays.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "ui/core/gfx/bitmap.h"

namespace lw::gfx {

class Image {
 public:
  // Null when the bytes are no picture the layer can read.
  static std::unique_ptr<Image> Decode(std::span<const uint8_t> bytes);
  // A still image of one bitmap (null for a bitmap without pixels).
  static std::unique_ptr<Image> Single(Bitmap frame);

  int Width() const { return frames_.empty() ? 0 : frames_[0].Width(); }
  int Height() const { return frames_.empty() ? 0 : frames_[0].Height(); }
  int FrameCount() const { return static_cast<int>(frames_.size()); }
  // Selects frame `index` (0-based) of the time dimension; out of range is ignored.
  void SelectFrame(int index);
  int SelectedFrame() const { return selected_; }
  const Bitmap& Frame() const { return frames_[static_cast<size_t>(selected_)]; }
  // One delay per frame, in hundredths of a second; empty for a still picture.
  const std::vector<int>& FrameDelays() const { return delays_; }

 private:
  std::vector<Bitmap> frames_;
  std::vector<int> delays_;
  int selected_ = 0;
};

}  // namespace lw::gfx
