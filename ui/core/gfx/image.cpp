#include "ui/core/gfx/image.h"

#include <stb_image.h>

#include <cstdlib>

namespace lw::gfx {
namespace {

Bitmap FromRgba(const unsigned char* rgba, int w, int h) {
  std::vector<uint32_t> argb(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (size_t i = 0; i < argb.size(); ++i) {
    const unsigned char* p = rgba + 4 * i;
    argb[i] = (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
  }
  return Bitmap::FromArgb(w, h, argb.data());
}

}  // namespace

std::unique_ptr<Image> Image::Decode(std::span<const uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return nullptr;
  auto image = std::unique_ptr<Image>(new Image);
  const int length = static_cast<int>(bytes.size());
  int w = 0, h = 0, channels = 0;
  if (bytes.size() >= 4 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F' &&
      bytes[3] == '8') {
    int* delays = nullptr;
    int frames = 0;
    unsigned char* data =
        stbi_load_gif_from_memory(bytes.data(), length, &delays, &w, &h, &frames, &channels, 4);
    if (!data) return nullptr;
    const size_t frame_size = static_cast<size_t>(w) * static_cast<size_t>(h) * 4;
    for (int f = 0; f < frames; ++f) {
      image->frames_.push_back(FromRgba(data + frame_size * static_cast<size_t>(f), w, h));
      // stb gives milliseconds; frames are timed in hundredths of a second.
      if (delays) image->delays_.push_back(delays[f] / 10);
    }
    stbi_image_free(data);
    std::free(delays);
    if (frames == 1) image->delays_.clear();
  } else {
    unsigned char* data = stbi_load_from_memory(bytes.data(), length, &w, &h, &channels, 4);
    if (!data) return nullptr;
    image->frames_.push_back(FromRgba(data, w, h));
    stbi_image_free(data);
  }
  if (image->frames_.empty() || image->frames_[0].IsNull()) return nullptr;
  return image;
}

std::unique_ptr<Image> Image::Single(Bitmap frame) {
  if (frame.IsNull()) return nullptr;
  auto image = std::unique_ptr<Image>(new Image);
  image->frames_.push_back(std::move(frame));
  return image;
}

void Image::SelectFrame(int index) {
  if (index >= 0 && index < FrameCount()) selected_ = index;
}

}  // namespace lw::gfx
