// The program's hidden texts, made with tools/hidden_text_encoder, and the key chain that
// opens them.
#pragma once

#include <string>
#include <string_view>

namespace lw {

// The first key, stored plain; it opens the wrapped second key.
inline constexpr std::string_view kFirstKey = "520736948";
// The second key, wrapped with the first.
inline constexpr std::string_view kWrappedKey = "D3F4BD90B6ABD5EDA0E1AE76C89B99F0898E99";
// "title[...]": the product title shown in the heading.
inline constexpr std::string_view kTitleRecord =
    "2810A31CD1C9BF8FDAC7BFC3C101BCBBA3C6882E19B3C701C3C182BB5095957F75369A4F75";
// The targets of the menu commands "联系QQ", "联系旺旺" and "打开官网".
inline constexpr std::string_view kLinkQq =
    "BF980755401E411C0C40400F1B1F0006791E4102021B6C6FC310BA6F";
inline constexpr std::string_view kLinkWangwang =
    "C3AC8BCB9ED0C6C98ACCC5C5C7D0D021CBC58BC3D4288BCBCAD31F8AD7C5D3CAACA42D33A0A4";
inline constexpr std::string_view kLinkGuide =
    "4C4B5B525A5DC85A485356130A4A1051575B4B4D7059114D3D3E17934F3E";

// The second key, decoded from the wrapped key with the first key.
std::string DecodeSecondKey();

// The text between "title[" and the next "]" of a decoded title record; "" when the record
// does not decode or holds no such text.
std::string DecodeTitle(std::string_view record = kTitleRecord);

// A link text decoded with the second key; "" when it does not decode.
std::string DecodeLink(std::string_view link_text);

}  // namespace lw
