#include "ui/core/gfx/bitmap.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

namespace lw::gfx {
namespace {

cairo_surface_t* S(void* p) {
  return static_cast<cairo_surface_t*>(p);
}

uint32_t Premultiply(Argb c) {
  uint32_t a = AlphaOf(c);
  auto mul = [a](uint32_t v) { return (v * a + 127) / 255; };
  return (a << 24) | (mul(RedOf(c)) << 16) | (mul(GreenOf(c)) << 8) | mul(BlueOf(c));
}

Argb Unpremultiply(uint32_t p) {
  uint32_t a = p >> 24;
  if (a == 0) return 0;
  auto div = [a](uint32_t v) { return std::min<uint32_t>(255, (v * 255 + a / 2) / a); };
  return (a << 24) | (div((p >> 16) & 0xFF) << 16) | (div((p >> 8) & 0xFF) << 8) | div(p & 0xFF);
}

}  // namespace

void Bitmap::SurfaceRelease::operator()(void* surface) const {
  cairo_surface_destroy(S(surface));
}

Bitmap::Bitmap(int width, int height) {
  if (width < 1 || height < 1) return;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return;
  }
  surface_.reset(s);
}

Bitmap Bitmap::FromArgb(int width, int height, const uint32_t* pixels) {
  Bitmap b(width, height);
  if (b.IsNull()) return b;
  uint8_t* data = b.MutableData();
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * b.Stride());
    for (int x = 0; x < width; ++x)
      row[x] = Premultiply(pixels[y * width + x]);
  }
  b.MarkDirty();
  return b;
}

Bitmap::Bitmap(const Bitmap& other) {
  *this = other;
}

Bitmap& Bitmap::operator=(const Bitmap& other) {
  if (this == &other) return *this;
  if (other.IsNull()) {
    surface_.reset();
    return *this;
  }
  *this = other.Clone({0, 0, other.Width(), other.Height()});
  return *this;
}

Bitmap::~Bitmap() = default;

int Bitmap::Width() const {
  return surface_ ? cairo_image_surface_get_width(S(surface_.get())) : 0;
}
int Bitmap::Height() const {
  return surface_ ? cairo_image_surface_get_height(S(surface_.get())) : 0;
}
int Bitmap::Stride() const {
  return surface_ ? cairo_image_surface_get_stride(S(surface_.get())) : 0;
}

const uint8_t* Bitmap::Data() const {
  if (!surface_) return nullptr;
  cairo_surface_flush(S(surface_.get()));
  return cairo_image_surface_get_data(S(surface_.get()));
}

uint8_t* Bitmap::MutableData() {
  if (!surface_) return nullptr;
  cairo_surface_flush(S(surface_.get()));
  return cairo_image_surface_get_data(S(surface_.get()));
}

void Bitmap::MarkDirty() {
  if (surface_) cairo_surface_mark_dirty(S(surface_.get()));
}

Argb Bitmap::GetPixel(int x, int y) const {
  if (!surface_ || x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  const uint8_t* data = Data();
  return Unpremultiply(reinterpret_cast<const uint32_t*>(data + y * Stride())[x]);
}

void Bitmap::SetPixel(int x, int y, Argb color) {
  if (!surface_ || x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  uint8_t* data = MutableData();
  reinterpret_cast<uint32_t*>(data + y * Stride())[x] = Premultiply(color);
  MarkDirty();
}

Bitmap Bitmap::Clone(const RectI& area) const {
  int left = std::max(0, area.left), top = std::max(0, area.top);
  int right = std::min(Width(), area.right), bottom = std::min(Height(), area.bottom);
  Bitmap out(right - left, bottom - top);
  if (out.IsNull()) return out;
  const uint8_t* src = Data();
  uint8_t* dst = out.MutableData();
  for (int y = top; y < bottom; ++y) {
    std::memcpy(dst + (y - top) * out.Stride(), src + y * Stride() + left * 4,
                static_cast<size_t>(right - left) * 4);
  }
  out.MarkDirty();
  return out;
}

}  // namespace lw::gfx
