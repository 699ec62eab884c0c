#include "ui/core/gfx/font.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <mutex>
#include <vector>

#include "assets/embedded.h"
#include "base/codepage.h"
#include "ui/core/gfx/gfx_types.h"

namespace lw::gfx {
namespace {

std::string Utf8(std::u16string_view s) {
  return FromWide(s, kCodePageUtf8);
}

std::string Folded(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == ' ') continue;
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

}  // namespace

const std::vector<std::string>& MappedFamilyNames() {
  static const std::vector<std::string> names = {"宋体", "SimSun", "微软雅黑", "Microsoft YaHei"};
  return names;
}

void EnsureFontConfiguration() {
  static std::once_flag once;
  std::call_once(once, [] {
    FcInit();
    FcConfig* config = FcConfigGetCurrent();
    auto conf = assets::FontsConf();
    std::string text(reinterpret_cast<const char*>(conf.data()), conf.size());
    // Loaded before the first text is laid out, so every font map made later sees it.
    FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(text.c_str()), FcTrue);
  });
}

std::optional<FontFamily> FontFamily::FromName(std::u16string_view name) {
  EnsureFontConfiguration();
  std::string utf8 = Utf8(name);
  if (utf8.empty()) return std::nullopt;
  for (const std::string& mapped : MappedFamilyNames()) {
    if (Folded(mapped) == Folded(utf8)) return FontFamily(std::u16string(name));
  }
  // An installed family: fontconfig lists a font whose family (in any language) is the name.
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.c_str()));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  bool found = fonts && fonts->nfont > 0;
  if (fonts) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  if (!found) return std::nullopt;
  return FontFamily(std::u16string(name));
}

Font::Font(const FontFamily& family, float size, int style)
    : family_(family.Name()), size_(size), style_(style) {
  EnsureFontConfiguration();
  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family(d, Utf8(family_).c_str());
  pango_font_description_set_absolute_size(d, static_cast<double>(size) * PANGO_SCALE);
  pango_font_description_set_weight(d, (style & kBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(d, (style & kItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  description_ = d;

  PangoFontMap* map = pango_cairo_font_map_get_default();
  PangoContext* context = pango_font_map_create_context(map);
  PangoFontMetrics* metrics = pango_context_get_metrics(context, d, nullptr);
  int height = pango_font_metrics_get_height(metrics);
  if (height <= 0) {
    height = pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics);
  }
  height_ = static_cast<float>(height) / PANGO_SCALE;
  pango_font_metrics_unref(metrics);
  g_object_unref(context);
}

Font::~Font() {
  pango_font_description_free(static_cast<PangoFontDescription*>(description_));
}

}  // namespace lw::gfx
