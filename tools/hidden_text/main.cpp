// hidden_text_encoder: makes a hidden text that the program decodes with the given key.
//
//   hidden_text_encoder --key KEY [--salt XXXXXX] [--mask XX] [--start N] TEXT
//
// TEXT and KEY are UTF-8 and stored as GBK. Salt, mask and start index are chosen at random
// unless given. Prints the hidden text as hexadecimal digits.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "base/codepage.h"
#include "tools/hidden_text/hidden_text_encoder.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: hidden_text_encoder --key KEY [--salt XXXXXX] [--mask XX] [--start N] "
               "TEXT\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string key, text, salt_hex, mask_hex;
  int start = -1;
  bool have_text = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    const char* v = nullptr;
    if (arg == "--key" && (v = value())) {
      key = v;
    } else if (arg == "--salt" && (v = value())) {
      salt_hex = v;
    } else if (arg == "--mask" && (v = value())) {
      mask_hex = v;
    } else if (arg == "--start" && (v = value())) {
      start = std::atoi(v);
    } else if (!have_text && arg.rfind("--", 0) != 0) {
      text = arg;
      have_text = true;
    } else {
      return Usage();
    }
  }
  if (key.empty() || !have_text) return Usage();

  std::string plain = lw::Utf8ToGbk(text);
  std::string gbk_key = lw::Utf8ToGbk(key);
  std::random_device rd;
  std::mt19937 rng(rd());
  lw::HiddenTextParams params;
  if (salt_hex.size() == 6) {
    unsigned long v = std::strtoul(salt_hex.c_str(), nullptr, 16);
    params.salt[0] = static_cast<uint8_t>(v >> 16);
    params.salt[1] = static_cast<uint8_t>(v >> 8);
    params.salt[2] = static_cast<uint8_t>(v);
  } else if (salt_hex.empty()) {
    for (auto& s : params.salt)
      s = static_cast<uint8_t>(rng());
  } else {
    return Usage();
  }
  params.mask = mask_hex.empty()
                    ? static_cast<uint8_t>(rng())
                    : static_cast<uint8_t>(std::strtoul(mask_hex.c_str(), nullptr, 16));
  int body = static_cast<int>(plain.size()) + 4;
  params.start = start >= 0 ? start : static_cast<int>(rng() % static_cast<unsigned>(body + 1));
  std::string hidden = lw::EncodeHiddenText(plain, gbk_key, params);
  if (hidden.empty()) {
    std::fprintf(stderr, "the start index must not exceed %d\n", body);
    return 2;
  }
  std::printf("%s\n", hidden.c_str());
  return 0;
}
