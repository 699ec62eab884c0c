#include "tools/hidden_text/hidden_text_encoder.h"

#include <zlib.h>

#include <vector>

#include "app/hidden_text.h"

namespace lw {

std::string EncodeHiddenText(std::string_view plain, std::string_view key,
                             const HiddenTextParams& params) {
  using namespace hidden_text;
  std::vector<uint8_t> body(plain.begin(), plain.end());
  uint32_t crc = static_cast<uint32_t>(
      crc32(0L, reinterpret_cast<const Bytef*>(plain.data()), static_cast<uInt>(plain.size())));
  for (int i = 0; i < 4; ++i)
    body.push_back(static_cast<uint8_t>(crc >> (8 * i)));

  auto swaps = UnscrambleSwaps(Digest(params.salt, params.mask, KeyCheckValue(key)), params.start,
                               static_cast<int>(body.size()));
  if (!swaps) return {};
  // Swaps are their own inverses: applied in reverse order they scramble what the decoder's
  // order unscrambles.
  for (auto it = swaps->rbegin(); it != swaps->rend(); ++it) {
    std::swap(body[static_cast<size_t>(it->first - 1)], body[static_cast<size_t>(it->second - 1)]);
  }
  auto start = static_cast<uint16_t>(static_cast<int16_t>(params.start));
  body.push_back(static_cast<uint8_t>(start));
  body.push_back(static_cast<uint8_t>(start >> 8));
  body.insert(body.end(), params.salt, params.salt + 3);
  for (uint8_t& b : body)
    b ^= params.mask;
  body.push_back(params.mask);

  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (uint8_t b : body) {
    hex += kHex[b >> 4];
    hex += kHex[b & 0xF];
  }
  return hex;
}

}  // namespace lw
