#include "app/hidden_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "app/stored_texts.h"
#include "base/codepage.h"
#include "tools/hidden_text/hidden_text_encoder.h"

namespace lw {
namespace {

std::string G(const char* utf8) {
  return Utf8ToGbk(utf8);
}

HiddenTextParams Params(uint8_t a, uint8_t b, uint8_t c, uint8_t mask, int start) {
  HiddenTextParams p;
  p.salt[0] = a;
  p.salt[1] = b;
  p.salt[2] = c;
  p.mask = mask;
  p.start = start;
  return p;
}

TEST(HiddenText, EncodedTextsDecodeWithTheirKey) {
  std::mt19937 rng(7);
  const std::string plains[] = {"", "x", "https://im.qq.com/", G("title[拼多多长尾词]"),
                                std::string(300, 'z')};
  for (const std::string& plain : plains) {
    for (int round = 0; round < 20; ++round) {
      int body = static_cast<int>(plain.size()) + 4;
      auto p = Params(rng(), rng(), rng(), rng(), static_cast<int>(rng() % (body + 1)));
      std::string hidden = EncodeHiddenText(plain, "key-1", p);
      ASSERT_FALSE(hidden.empty());
      EXPECT_EQ(DecodeHiddenText(hidden, "key-1"), plain) << hidden;
    }
  }
}

TEST(HiddenText, AnyOtherKeyGivesTheEmptyText) {
  std::string hidden = EncodeHiddenText("secret address", "right", Params(1, 2, 3, 0x5A, 4));
  EXPECT_EQ(DecodeHiddenText(hidden, "right"), "secret address");
  for (const char* key : {"wrong", "Right", "", "right "}) {
    EXPECT_EQ(DecodeHiddenText(hidden, key), "") << key;
  }
}

TEST(HiddenText, DamagedDigitsGiveTheEmptyText) {
  std::string hidden = EncodeHiddenText("some plain text", "k", Params(9, 8, 7, 0x33, 5));
  for (size_t i = 0; i < hidden.size(); ++i) {
    std::string damaged = hidden;
    damaged[i] = damaged[i] == '0' ? '1' : '0';
    // The mask byte and start index change what is read; the CRC catches every change.
    EXPECT_EQ(DecodeHiddenText(damaged, "k"), "") << "digit " << i;
  }
  EXPECT_EQ(DecodeHiddenText(hidden.substr(0, hidden.size() - 2), "k"), "");
  EXPECT_EQ(DecodeHiddenText("", "k"), "");
  EXPECT_EQ(DecodeHiddenText("A", "k"), "");
}

TEST(HiddenText, StartIndexBeyondTheBodyGivesTheEmptyText) {
  // The body of "abc" is 3 + 4 bytes: start 7 is the largest allowed.
  EXPECT_EQ(DecodeHiddenText(EncodeHiddenText("abc", "k", Params(1, 1, 1, 0, 7)), "k"), "abc");
  EXPECT_EQ(EncodeHiddenText("abc", "k", Params(1, 1, 1, 0, 8)), "");
  // Forge one with start 8 by editing the unmasked start index (mask 0): bytes m-5 and m-4.
  std::string hidden = EncodeHiddenText("abc", "k", Params(1, 1, 1, 0, 7));
  std::string forged = hidden;
  forged.replace(forged.size() - 2 - 10, 4, "0800");
  EXPECT_EQ(DecodeHiddenText(forged, "k"), "");
}

TEST(HiddenText, HexDigitsDecodeInEitherCase) {
  std::string hidden = EncodeHiddenText("Case", "k", Params(0xAB, 0xCD, 0xEF, 0xFA, 2));
  std::string lower = hidden;
  std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
  ASSERT_NE(lower, hidden);
  EXPECT_EQ(DecodeHiddenText(lower, "k"), "Case");
  // An odd last digit is ignored.
  EXPECT_EQ(DecodeHiddenText(hidden + "7", "k"), "Case");
}

TEST(HiddenText, TheDecoderIsTheFixedAlgorithm) {
  // A hidden text made by hand from the layout, independent of the encoder: plain "hi",
  // start index 1 and a salt/mask for which the digest's swaps are known.
  uint8_t salt[3] = {0, 0, 0};
  std::string digest = hidden_text::Digest(salt, 0, hidden_text::KeyCheckValue("k"));
  ASSERT_EQ(digest.size(), 32u);
  auto swaps = hidden_text::UnscrambleSwaps(digest, 1, 6);
  ASSERT_TRUE(swaps.has_value());
  EXPECT_FALSE(hidden_text::UnscrambleSwaps(digest, 7, 6).has_value());
  // With s = 1 the first digit read is position 1 of the digest.
  int t = std::stoi(digest.substr(0, 1), nullptr, 16) + 2;
  if (t <= 6) {
    ASSERT_FALSE(swaps->empty());
    EXPECT_EQ(swaps->front(), std::make_pair(1, t));
  }
}

TEST(StoredTexts, TheKeyChainOpensEveryStoredText) {
  std::string second = DecodeSecondKey();
  EXPECT_EQ(second.size(), 9u);
  EXPECT_EQ(kWrappedKey.size(), 38u);
  EXPECT_EQ(DecodeTitle(), G("拼多多长尾词采集助手"));
  EXPECT_EQ(DecodeLink(kLinkQq), "https://im.qq.com/");
  EXPECT_EQ(DecodeLink(kLinkWangwang), "https://wangwang.taobao.com/");
  EXPECT_EQ(DecodeLink(kLinkGuide), "docs/user-guide.html");
  // The stored texts do not open with the first key alone.
  EXPECT_EQ(DecodeHiddenText(kTitleRecord, kFirstKey), "");
}

TEST(StoredTexts, TitleIsBetweenTheFirstMarkers) {
  std::string key = DecodeSecondKey();
  auto make = [&](const char* record) {
    return EncodeHiddenText(G(record), key, Params(5, 6, 7, 0x11, 3));
  };
  EXPECT_EQ(DecodeTitle(make("v1 title[一]x]title[二]")), G("一"));
  EXPECT_EQ(DecodeTitle(make("title[没有结尾")), "");
  EXPECT_EQ(DecodeTitle(make("no title here")), "");
  EXPECT_EQ(DecodeTitle("0011"), "");
}

}  // namespace
}  // namespace lw
