#include "app/stored_texts.h"

#include "app/hidden_text.h"
#include "base/text_search.h"

namespace lw {

std::string DecodeSecondKey() {
  return DecodeHiddenText(kWrappedKey, kFirstKey);
}

std::string DecodeTitle(std::string_view record) {
  return TextBetweenMarkers(DecodeHiddenText(record, DecodeSecondKey()), "title[", "]");
}

std::string DecodeLink(std::string_view link_text) {
  return DecodeHiddenText(link_text, DecodeSecondKey());
}

}  // namespace lw
