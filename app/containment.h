// The test a suggestion passes to be kept for a seed.
#pragma once

#include <string>
#include <vector>

#include "pattern/regex_object.h"

namespace lw {

// Whether every seed character occurs in `suggestion`. Each character is searched as a pattern
// of its own with the default options, so case is ignored, order and repeats do not matter,
// and a character such as "." or "$" acts as an operator while a lone "*" never matches. No
// characters at all accept every suggestion.
bool ContainsAllCharacters(RegexObject& tester, const std::vector<std::string>& characters,
                           const std::string& suggestion);

}  // namespace lw
