// Start-up of the toolkit and the resources every host and control shares.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "ui/core/gfx/bitmap.h"
#include "ui/core/gfx/font.h"
#include "ui/core/gfx/image.h"

namespace lw {

// System cursor ids.
inline constexpr int kCursorArrow = 32512;
inline constexpr int kCursorIBeam = 32513;
inline constexpr int kCursorSizeNwse = 32642;
inline constexpr int kCursorSizeNesw = 32643;
inline constexpr int kCursorSizeWe = 32644;
inline constexpr int kCursorSizeNs = 32645;
inline constexpr int kCursorHand = 32649;

// Prepares what needs no window: the font configuration, the default font, the default
// cursor, the caption-button strip and the system's version. Runs once; later calls do
// nothing. Nothing here is ever torn down.
void StartToolkit();

// The font every control without a font of its own uses: "宋体", 12 pixels, regular, else the
// desktop's caption font; null when neither family exists.
std::shared_ptr<gfx::Font> DefaultFont();
// The cursor hosts show where the control under the mouse has none.
int DefaultCursor();
// Stores a cursor (an id or, with is_handle, a handle: the two are the same here).
void SetDefaultCursor(int cursor, bool is_handle = false);
// The 729 × 20 caption-button glyph strip.
const gfx::Bitmap& ButtonSprite();
// The running system's major version (the kernel's on Linux).
int OsMajorVersion();

// The desktop's interface font for 1 menus, 2 captions (default) or 3 messages, GBK; "宋体"
// when none can be read or it cannot be made, and in place of "Tahoma".
std::string SystemUiFontName(int which = 2);

// A font of the named family (GBK), `size` pixels, style bits; a family that does not exist
// gives the default font's family instead. Null when neither can be made.
std::shared_ptr<gfx::Font> CreateFontByName(std::string_view name, float size, int style);

// Decodes an image held in memory. With add_signature, the bytes are a PNG stream without
// its 8-byte signature, which is put back first. With keep_stream the decoded image comes
// back as it is (all its frames); otherwise a 32-bit ARGB copy of its first frame. Null for
// empty or undecodable bytes.
std::unique_ptr<gfx::Image> LoadImageFromBytes(std::span<const uint8_t> bytes, bool add_signature,
                                               bool keep_stream);

// The desktop's interface font family (UTF-8) as its settings name it, or "" when they do
// not. Reads the GTK settings files.
std::string DesktopInterfaceFont();

}  // namespace lw
