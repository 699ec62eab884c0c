// Making hidden texts: the inverse of DecodeHiddenText.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lw {

struct HiddenTextParams {
  uint8_t salt[3] = {0, 0, 0};
  uint8_t mask = 0;
  int start = 0;  // must not exceed the plain text's length + 4
};

// The hidden text (upper-case hex digits) that DecodeHiddenText turns back into `plain` with
// `key`; "" when the start index lies beyond the body.
std::string EncodeHiddenText(std::string_view plain, std::string_view key,
                             const HiddenTextParams& params);

}  // namespace lw
