#include "app/containment.h"

namespace lw {

bool ContainsAllCharacters(RegexObject& tester, const std::vector<std::string>& characters,
                           const std::string& suggestion) {
  size_t hits = 0;
  for (const std::string& c : characters) {
    tester.Search(c, suggestion);
    if (tester.MatchCount() != 0) ++hits;
  }
  return hits == characters.size();
}

}  // namespace lw
