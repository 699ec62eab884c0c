// A 32-bit ARGB bitmap: what every host frame, control image and decoded picture is.
#pragma once

#include <cstdint>
#include <memory>

#include "ui/core/geometry.h"
#include "ui/core/gfx/gfx_types.h"

namespace lw::gfx {

class Bitmap {
 public:
  Bitmap() = default;  // no pixels
  // A fully transparent bitmap of w × h pixels (no pixels when either is below 1).
  Bitmap(int width, int height);
  // From straight-alpha 0xAARRGGBB pixels, row after row.
  static Bitmap FromArgb(int width, int height, const uint32_t* pixels);

  Bitmap(const Bitmap& other);  // a copy of the pixels
  Bitmap& operator=(const Bitmap& other);
  Bitmap(Bitmap&&) noexcept = default;
  Bitmap& operator=(Bitmap&&) noexcept = default;
  ~Bitmap();

  bool IsNull() const { return !surface_; }
  int Width() const;
  int Height() const;

  // The colour at (x, y) with straight alpha; 0 outside the bitmap.
  Argb GetPixel(int x, int y) const;
  void SetPixel(int x, int y, Argb color);
  // A copy of `area` (clamped to the bitmap).
  Bitmap Clone(const RectI& area) const;

  // The pixels as they are stored: premultiplied ARGB, 4 bytes a pixel in native order,
  // `Stride()` bytes a row. Call MarkDirty() after writing through MutableData().
  const uint8_t* Data() const;
  uint8_t* MutableData();
  int Stride() const;
  void MarkDirty();

  // The drawing layer's own surface (a cairo_surface_t*).
  void* NativeSurface() const { return surface_.get(); }

 private:
  struct SurfaceRelease {
    void operator()(void* surface) const;
  };
  std::unique_ptr<void, SurfaceRelease> surface_;
};

}  // namespace lw::gfx
