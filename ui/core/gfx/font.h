// Font families and fonts in pixel sizes.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lw::gfx {

// Loads the program's own font configuration into fontconfig, once, before any text is laid
// out: it maps the families the toolkit asks for ("宋体", "SimSun", "微软雅黑",
// "Microsoft YaHei") to the CJK font the program depends on. Nothing is installed into the
// system's configuration.
void EnsureFontConfiguration();

// The family names the program's configuration maps (UTF-8).
const std::vector<std::string>& MappedFamilyNames();

class FontFamily {
 public:
  // The family of that name, or nullopt when no installed or mapped family has it.
  static std::optional<FontFamily> FromName(std::u16string_view name);
  const std::u16string& Name() const { return name_; }

 private:
  explicit FontFamily(std::u16string name) : name_(std::move(name)) {}
  std::u16string name_;
};

class Font {
 public:
  // A font of `family`, `size` pixels (em size), with style bits (bold 1, italic 2,
  // underline 4, strikeout 8).
  Font(const FontFamily& family, float size, int style);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const std::u16string& FamilyName() const { return family_; }
  float Size() const { return size_; }
  int Style() const { return style_; }
  // The distance from one line to the next, in pixels.
  float Height() const { return height_; }

  // The drawing layer's own description (a PangoFontDescription*).
  void* NativeDescription() const { return description_; }

 private:
  std::u16string family_;
  float size_;
  int style_;
  float height_ = 0;
  void* description_ = nullptr;
};

}  // namespace lw::gfx
