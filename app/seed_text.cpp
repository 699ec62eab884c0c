#include "app/seed_text.h"

#include "base/text_search.h"

namespace lw {

std::vector<std::string> SplitSeeds(std::string_view text) {
  std::vector<std::string> seeds;
  size_t from = 0;
  while (true) {
    size_t at = text.find("\r\n", from);
    if (at == std::string_view::npos) break;
    seeds.emplace_back(text.substr(from, at - from));
    from = at + 2;
  }
  if (from < text.size()) seeds.emplace_back(text.substr(from));
  return seeds;
}

std::string NormaliseSeed(std::string_view seed) {
  std::string out;
  out.reserve(seed.size());
  size_t i = 0;
  while (i < seed.size()) {
    size_t len = CharLengthAt(seed, i);
    if (len == 2) {
      out.append(seed.substr(i, 2));
    } else {
      char c = seed[i];
      if (c >= 'A' && c <= 'Z') {
        out += static_cast<char>(c - 'A' + 'a');
      } else if (c != ' ') {
        out += c;
      }
    }
    i += len;
  }
  return out;
}

std::vector<std::string> SplitIntoCharacters(std::string_view text) {
  std::vector<std::string> chars;
  size_t i = 0;
  while (i < text.size()) {
    size_t len = CharLengthAt(text, i);
    chars.emplace_back(text.substr(i, len));
    i += len;
  }
  return chars;
}

}  // namespace lw
