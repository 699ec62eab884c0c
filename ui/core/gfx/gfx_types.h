// Values of the drawing layer, numbered as the toolkit knows them.
#pragma once

#include <cstdint>

namespace lw::gfx {

// 0xAARRGGBB, straight (not premultiplied) alpha.
using Argb = uint32_t;

inline constexpr uint8_t AlphaOf(Argb c) {
  return c >> 24;
}
inline constexpr uint8_t RedOf(Argb c) {
  return (c >> 16) & 0xFF;
}
inline constexpr uint8_t GreenOf(Argb c) {
  return (c >> 8) & 0xFF;
}
inline constexpr uint8_t BlueOf(Argb c) {
  return c & 0xFF;
}
inline constexpr Argb MakeArgb(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
  return (Argb{a} << 24) | (Argb{r} << 16) | (Argb{g} << 8) | b;
}

// Font style bits.
enum FontStyle : int { kRegular = 0, kBold = 1, kItalic = 2, kUnderline = 4, kStrikeout = 8 };

// String format flags.
enum StringFormatFlags : int {
  kNoFontFallback = 0x400,
  kMeasureTrailingSpaces = 0x800,
  kNoWrap = 0x1000,
  kLineLimit = 0x2000,
  kNoClip = 0x4000,
};

enum class StringAlignment : int { kNear = 0, kCenter = 1, kFar = 2 };

enum class StringTrimming : int {
  kNone = 0,
  kCharacter = 1,
  kWord = 2,
  kEllipsisCharacter = 3,
  kEllipsisWord = 4,
  kEllipsisPath = 5,
};

enum class HotkeyPrefix : int { kNone = 0, kShow = 1, kHide = 2 };

enum class SmoothingMode : int {
  kDefault = 0,
  kHighSpeed = 1,
  kHighQuality = 2,
  kNone = 3,
  kAntiAlias = 4
};

enum class TextRenderingHint : int {
  kSystemDefault = 0,
  kSingleBitPerPixelGridFit = 1,
  kSingleBitPerPixel = 2,
  kAntiAliasGridFit = 3,
  kAntiAlias = 4,
  kClearTypeGridFit = 5,
};

enum class InterpolationMode : int {
  kDefault = 0,
  kLowQuality = 1,
  kHighQuality = 2,
  kBilinear = 3,
  kBicubic = 4,
  kNearestNeighbor = 5,
  kHighQualityBilinear = 6,
  kHighQualityBicubic = 7,
};

enum class CompositingMode : int { kSourceOver = 0, kSourceCopy = 1 };

enum class DashStyle : int { kSolid = 0, kDash = 1, kDot = 2, kDashDot = 3, kDashDotDot = 4 };

enum class WrapMode : int {
  kTile = 0,
  kTileFlipX = 1,
  kTileFlipY = 2,
  kTileFlipXY = 3,
  kClamp = 4
};

enum class LinearGradientMode : int {
  kHorizontal = 0,
  kVertical = 1,
  kForwardDiagonal = 2,
  kBackwardDiagonal = 3,
};

enum class CombineMode : int { kReplace = 0, kIntersect = 1, kUnion = 2, kXor = 3, kExclude = 4 };

}  // namespace lw::gfx
