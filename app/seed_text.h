// Seeds: the lines of the keyword text, their normal form and their characters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lw {

// The text split at every CR LF. Each CR LF ends one member, so an empty line is an empty
// member; what follows the last CR LF is a member only when it is not empty.
std::vector<std::string> SplitSeeds(std::string_view text);

// The seed with every space removed and the ASCII capitals made small. The bytes of two-byte
// characters are never changed, even where one looks like a space or a capital.
std::string NormaliseSeed(std::string_view seed);

// The characters of a text, one member per occurrence: a byte of 0x80 or above starts a
// two-byte character, any other byte is a character of its own.
std::vector<std::string> SplitIntoCharacters(std::string_view text);

}  // namespace lw
