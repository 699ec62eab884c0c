#include "ui/core/toolkit.h"

#include <sys/utsname.h>

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <vector>

#include "assets/embedded.h"
#include "base/codepage.h"

namespace lw {
namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

struct Shared {
  std::mutex mutex;
  std::shared_ptr<gfx::Font> default_font;
  int default_cursor = kCursorArrow;
  gfx::Bitmap button_sprite;
  int os_major_version = 0;
};

Shared& S() {
  static Shared* shared = new Shared();  // lives as long as the process
  return *shared;
}

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\"'");
  if (a == std::string::npos) return {};
  size_t b = s.find_last_not_of(" \t\"'\r\n");
  return s.substr(a, b - a + 1);
}

// "Cantarell 11" → "Cantarell": a font name as GTK writes it ends with its size.
std::string WithoutSize(const std::string& name) {
  size_t space = name.find_last_of(' ');
  if (space == std::string::npos) return name;
  std::string last = name.substr(space + 1);
  if (!last.empty() && last.find_first_not_of("0123456789.") == std::string::npos) {
    return Trim(name.substr(0, space));
  }
  return name;
}

std::string ReadGtkFontName(const std::string& file) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (Trim(line.substr(0, eq)) == "gtk-font-name") return WithoutSize(Trim(line.substr(eq + 1)));
  }
  return {};
}

int ReadOsMajorVersion() {
  utsname u{};
  if (uname(&u) != 0) return 0;
  return std::atoi(u.release);
}

}  // namespace

std::string DesktopInterfaceFont() {
  std::vector<std::string> files;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  if (config && *config) files.push_back(std::string(config) + "/gtk-3.0/settings.ini");
  if (home && *home) {
    files.push_back(std::string(home) + "/.config/gtk-3.0/settings.ini");
    files.push_back(std::string(home) + "/.gtkrc-2.0");
  }
  files.push_back("/etc/gtk-3.0/settings.ini");
  for (const std::string& file : files) {
    std::string name = ReadGtkFontName(file);
    if (!name.empty()) return name;
  }
  return {};
}

void StartToolkit() {
  static std::once_flag once;
  std::call_once(once, [] {
    Shared& s = S();
    gfx::EnsureFontConfiguration();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.os_major_version = ReadOsMajorVersion();
    // The default font: "宋体", else the caption font.
    for (const std::string& family : {Utf8ToGbk("宋体"), std::string()}) {
      std::string name = family.empty() ? SystemUiFontName(2) : family;
      if (auto f = gfx::FontFamily::FromName(ToWide(name))) {
        s.default_font = std::make_shared<gfx::Font>(*f, 12.0f, gfx::kRegular);
        break;
      }
    }
    s.default_cursor = kCursorArrow;
    if (auto sprite = LoadImageFromBytes(assets::CaptionButtons(), true, false)) {
      s.button_sprite = sprite->Frame();
    }
  });
}

std::shared_ptr<gfx::Font> DefaultFont() {
  std::lock_guard<std::mutex> lock(S().mutex);
  return S().default_font;
}

int DefaultCursor() {
  std::lock_guard<std::mutex> lock(S().mutex);
  return S().default_cursor;
}

void SetDefaultCursor(int cursor, bool) {
  std::lock_guard<std::mutex> lock(S().mutex);
  S().default_cursor = cursor;
}

const gfx::Bitmap& ButtonSprite() {
  return S().button_sprite;
}

int OsMajorVersion() {
  std::lock_guard<std::mutex> lock(S().mutex);
  return S().os_major_version;
}

std::string SystemUiFontName(int which) {
  // Menus, captions and messages share the desktop's one interface font.
  (void)which;
  std::string name = Utf8ToGbk(DesktopInterfaceFont());
  const std::string fallback = Utf8ToGbk("宋体");
  if (name.empty() || name == "Tahoma") return fallback;
  return CreateFontByName(name, 12.0f, gfx::kRegular) ? name : fallback;
}

std::shared_ptr<gfx::Font> CreateFontByName(std::string_view name, float size, int style) {
  gfx::EnsureFontConfiguration();
  std::optional<gfx::FontFamily> family = gfx::FontFamily::FromName(ToWide(name));
  if (!family) {
    std::shared_ptr<gfx::Font> fallback;
    {
      std::lock_guard<std::mutex> lock(S().mutex);
      fallback = S().default_font;
    }
    if (fallback) family = gfx::FontFamily::FromName(fallback->FamilyName());
  }
  if (!family) return nullptr;
  return std::make_shared<gfx::Font>(*family, size, style);
}

std::unique_ptr<gfx::Image> LoadImageFromBytes(std::span<const uint8_t> bytes, bool add_signature,
                                               bool keep_stream) {
  if (bytes.empty()) return nullptr;
  std::vector<uint8_t> block;
  block.reserve(bytes.size() + (add_signature ? 8 : 0));
  if (add_signature) block.insert(block.end(), std::begin(kPngSignature), std::end(kPngSignature));
  block.insert(block.end(), bytes.begin(), bytes.end());
  std::unique_ptr<gfx::Image> decoded = gfx::Image::Decode(block);
  if (!decoded || keep_stream) return decoded;
  // A copy of the first frame: what callers keep never depends on the bytes or the frames.
  return gfx::Image::Single(decoded->Frame());
}

}  // namespace lw
