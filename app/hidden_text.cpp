#include "app/hidden_text.h"

#include <openssl/evp.h>
#include <zlib.h>

namespace lw {
namespace hidden_text {

namespace {
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

std::vector<uint8_t> HexToBytes(std::string_view hex) {
  std::vector<uint8_t> bytes;
  bytes.reserve(hex.size() / 2);
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    // A character that is no digit counts as 0: the CRC check then rejects the text.
    int hi = HexValue(hex[i]);
    int lo = HexValue(hex[i + 1]);
    bytes.push_back(static_cast<uint8_t>(((hi < 0 ? 0 : hi) << 4) | (lo < 0 ? 0 : lo)));
  }
  return bytes;
}

uint32_t KeyCheckValue(std::string_view key) {
  return static_cast<uint32_t>(
      crc32(0L, reinterpret_cast<const Bytef*>(key.data()), static_cast<uInt>(key.size())));
}

std::string Digest(const uint8_t salt[3], uint8_t mask, uint32_t key_check) {
  uint8_t input[8] = {salt[0],
                      salt[1],
                      salt[2],
                      mask,
                      static_cast<uint8_t>(key_check),
                      static_cast<uint8_t>(key_check >> 8),
                      static_cast<uint8_t>(key_check >> 16),
                      static_cast<uint8_t>(key_check >> 24)};
  unsigned char md[EVP_MAX_MD_SIZE];
  unsigned int md_len = 0;
  EVP_Digest(input, sizeof input, md, &md_len, EVP_md5(), nullptr);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string digest;
  for (unsigned int i = 0; i < md_len; ++i) {
    digest += kHex[md[i] >> 4];
    digest += kHex[md[i] & 0xF];
  }
  return digest;
}

std::optional<std::vector<std::pair<int, int>>> UnscrambleSwaps(const std::string& digest,
                                                                int start, int body_size) {
  if (start > body_size) return std::nullopt;
  std::vector<std::pair<int, int>> swaps;
  int s = start;
  int j = 1;
  for (int i = 1; i <= body_size; ++i) {
    if (j > 32) j = 1;
    if (s - j < 0) {
      s = 32;
      j = 1;
    }
    int at = s - j + 1;  // 1-based position in the digest
    int d = (at >= 1 && at <= static_cast<int>(digest.size()))
                ? HexValue(digest[static_cast<size_t>(at - 1)])
                : 0;
    int t = d + 2;
    ++j;
    if (t <= body_size) swaps.emplace_back(i, t);
  }
  return swaps;
}

}  // namespace hidden_text

std::string DecodeHiddenText(std::string_view hidden, std::string_view key) {
  using namespace hidden_text;
  std::vector<uint8_t> bytes = HexToBytes(hidden);
  // Mask byte, start index (2), salt (3) and CRC-32 (4) at the least.
  if (bytes.size() < 10) return {};
  const uint8_t mask = bytes.back();
  bytes.pop_back();
  for (uint8_t& b : bytes)
    b ^= mask;
  const size_t m = bytes.size();
  const uint8_t* salt = &bytes[m - 3];
  const int start = static_cast<int16_t>(bytes[m - 5] | (bytes[m - 4] << 8));
  std::vector<uint8_t> body(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(m - 5));
  const int b = static_cast<int>(body.size());

  auto swaps = UnscrambleSwaps(Digest(salt, mask, KeyCheckValue(key)), start, b);
  if (!swaps) return {};
  for (auto [i, t] : *swaps)
    std::swap(body[static_cast<size_t>(i - 1)], body[static_cast<size_t>(t - 1)]);

  const size_t plain = body.size() - 4;
  uint32_t stored = body[plain] | (body[plain + 1] << 8) | (body[plain + 2] << 16) |
                    (static_cast<uint32_t>(body[plain + 3]) << 24);
  uint32_t actual = static_cast<uint32_t>(crc32(0L, body.data(), static_cast<uInt>(plain)));
  if (stored != actual) return {};
  std::string text(body.begin(), body.begin() + static_cast<ptrdiff_t>(plain));
  return text.substr(0, text.find('\0'));
}

}  // namespace lw
