// Texts kept out of plain sight: strings of hexadecimal digits that decode with a key.
//
// After hex decoding, a hidden text is a masked block followed by its mask byte. Unmasked,
// the block is a scrambled body (plain bytes followed by their CRC-32), a signed 16-bit
// start index and a 3-byte salt. The key, the salt and the mask give an MD5 digest whose
// digits drive the swaps that scramble the body.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lw {

// The plain text (up to its first NUL) of `hidden` decoded with `key`, or "" when it does not
// decode with that key: wrong key, damaged digits, or a start index beyond the body.
std::string DecodeHiddenText(std::string_view hidden, std::string_view key);

// The pieces the decoder and the encoder share.
namespace hidden_text {

// Bytes from hexadecimal digit pairs (either case); an odd last digit is ignored.
std::vector<uint8_t> HexToBytes(std::string_view hex);

// CRC-32 (zlib's) of the key's bytes.
uint32_t KeyCheckValue(std::string_view key);

// The 32 lower-case hex digits of MD5(salt, mask, key check value little-endian).
std::string Digest(const uint8_t salt[3], uint8_t mask, uint32_t key_check);

// The swaps, as 1-based position pairs in the order the decoder applies them, that unscramble
// a body of `body_size` bytes; nullopt when the start index lies beyond the body.
std::optional<std::vector<std::pair<int, int>>> UnscrambleSwaps(const std::string& digest,
                                                                int start, int body_size);

}  // namespace hidden_text
}  // namespace lw
