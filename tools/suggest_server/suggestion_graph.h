// A deterministic, synthetic suggestion graph, shaped like a Chinese e-commerce service's:
// the suggestions of a word are that word with one more product modifier, so a seed grows a
// tree of long-tail words. Every reply also echoes the query and names a hot word that has
// nothing to do with it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

class SuggestionGraph {
 public:
  // `seed` chooses the graph; `size` is how many words a seed reaches, the seed included.
  SuggestionGraph(uint64_t seed, int size, int fanout = 4);

  // The suggestions for `query` (UTF-8), in reply order.
  std::vector<std::string> SuggestionsFor(std::string_view query) const;

  // The reply body for `query`: UTF-8 JSON whose last array is the suggestion list.
  std::string ReplyFor(std::string_view query) const;

  static constexpr std::string_view kHotWord = "热销爆款";

 private:
  // The modifiers a word's children add, in child order.
  std::vector<int> ChildModifiers(std::string_view word) const;

  uint64_t seed_;
  int size_;
  int fanout_;
};

// Escapes a text for a JSON string.
std::string JsonEscape(std::string_view text);

}  // namespace lw
