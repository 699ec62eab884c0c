// Conversions between the program's GBK texts and UTF-16 / UTF-8 / Big5.
//
// Every text the program keeps is a GBK byte string (code page 936). Texts handed to the
// pattern engine, the drawing layer or the window system are UTF-16; texts on the wire are
// UTF-8. Characters a target code page cannot hold become '?'.
#pragma once

#include <string>
#include <string_view>

namespace lw {

inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageBig5 = 950;
inline constexpr int kCodePageUtf8 = 65001;

// Decodes `text` (up to its first NUL) from `code_page` into UTF-16. The result always has a
// terminator after its last unit (std::u16string::c_str()), so an empty text converts to an
// empty string whose terminator is the only unit.
std::u16string ToWide(std::string_view text, int code_page = kCodePageGbk);

// Encodes `wide` (up to its first NUL unit) into `code_page`.
std::string FromWide(std::u16string_view wide, int code_page = kCodePageGbk);

// Like FromWide, but the result ends before the first character the code page cannot hold.
std::string FromWideUntilUnmappable(std::u16string_view wide, int code_page = kCodePageGbk);

// Maps traditional Chinese characters to simplified ones; everything else is kept.
std::u16string TraditionalToSimplified(std::u16string_view wide);

// Shorthands for the conversions the program makes most.
inline std::string Utf8ToGbk(std::string_view utf8) {
  return FromWide(ToWide(utf8, kCodePageUtf8), kCodePageGbk);
}
inline std::string GbkToUtf8Text(std::string_view gbk) {
  return FromWide(ToWide(gbk, kCodePageGbk), kCodePageUtf8);
}

}  // namespace lw
