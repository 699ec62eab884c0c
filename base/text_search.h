// Searching in GBK texts, character by character.
//
// Positions are 1-based byte positions and 0 means "not found". A byte of 0x80 or above starts
// a two-byte character, so a match can only begin on the first byte of a character. With
// ignore_case, the ASCII letters of one-byte characters compare without case; the bytes of
// two-byte characters always compare exactly.
#pragma once

#include <string>
#include <string_view>

namespace lw {

// Number of bytes of the character that starts at 0-based offset `i` (1 or 2).
inline size_t CharLengthAt(std::string_view text, size_t i) {
  return (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size()) ? 2 : 1;
}

// First occurrence of `marker` found from `start` (values below 1 count as 1), or 0. An empty
// marker is never found.
int FindText(std::string_view text, std::string_view marker, int start = 1,
             bool ignore_case = false);

// Last occurrence of `marker`, or 0.
int FindLastText(std::string_view text, std::string_view marker, bool ignore_case = false);

// The text before the first occurrence of `marker` found from `start`, or "" when there is
// none.
std::string TextBefore(std::string_view text, std::string_view marker, int start = 1,
                       bool ignore_case = false);

// The text between the first `start_marker` found from `start` and the next `end_marker` after
// it, with case; "" when either marker is missing or the text is empty.
std::string TextBetweenMarkers(std::string_view text, std::string_view start_marker,
                               std::string_view end_marker, int start = 1);

// ASCII letters lower-cased; bytes of two-byte characters unchanged.
std::string AsciiLower(std::string_view text);

}  // namespace lw
