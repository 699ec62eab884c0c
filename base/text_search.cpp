#include "base/text_search.h"

namespace lw {
namespace {

unsigned char Fold(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

// Whether `marker` stands at 0-based offset `p` of `text`, comparing character by character
// as the text is made of them.
bool MatchesAt(std::string_view text, size_t p, std::string_view marker, bool ignore_case) {
  if (p + marker.size() > text.size()) return false;
  size_t i = 0;
  while (i < marker.size()) {
    auto c = static_cast<unsigned char>(text[p + i]);
    auto m = static_cast<unsigned char>(marker[i]);
    if (c >= 0x80) {
      if (c != m) return false;
      if (i + 1 < marker.size() && text[p + i + 1] != marker[i + 1]) return false;
      i += 2;
    } else {
      if (ignore_case ? Fold(c) != Fold(m) : c != m) return false;
      ++i;
    }
  }
  return true;
}

}  // namespace

int FindText(std::string_view text, std::string_view marker, int start, bool ignore_case) {
  if (marker.empty()) return 0;
  size_t i = start < 1 ? 0 : static_cast<size_t>(start - 1);
  while (i < text.size()) {
    if (MatchesAt(text, i, marker, ignore_case)) return static_cast<int>(i + 1);
    i += CharLengthAt(text, i);
  }
  return 0;
}

int FindLastText(std::string_view text, std::string_view marker, bool ignore_case) {
  if (marker.empty()) return 0;
  int last = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (MatchesAt(text, i, marker, ignore_case)) last = static_cast<int>(i + 1);
    i += CharLengthAt(text, i);
  }
  return last;
}

std::string TextBefore(std::string_view text, std::string_view marker, int start,
                       bool ignore_case) {
  int at = FindText(text, marker, start, ignore_case);
  if (at == 0) return {};
  return std::string(text.substr(0, static_cast<size_t>(at - 1)));
}

std::string TextBetweenMarkers(std::string_view text, std::string_view start_marker,
                               std::string_view end_marker, int start) {
  if (text.empty()) return {};
  int a = FindText(text, start_marker, start);
  if (a == 0) return {};
  int from = a + static_cast<int>(start_marker.size());
  int b = FindText(text, end_marker, from);
  if (b == 0) return {};
  return std::string(text.substr(static_cast<size_t>(from - 1), static_cast<size_t>(b - from)));
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  size_t i = 0;
  while (i < out.size()) {
    size_t len = CharLengthAt(out, i);
    if (len == 1) out[i] = static_cast<char>(Fold(static_cast<unsigned char>(out[i])));
    i += len;
  }
  return out;
}

}  // namespace lw
