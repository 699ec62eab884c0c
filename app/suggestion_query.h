// Turning a word into a suggestion request and a suggestion reply into words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pattern/regex_object.h"
#include "web/fetch_request.h"

namespace lw {

inline constexpr std::string_view kDefaultEndpoint = "https://mobile.yangkeduo.com";
inline constexpr std::string_view kSuggestionPath =
    "/search_suggest?sug_srch_type=0&goods_id_list=&search_type=0&source=index&query=";
inline constexpr std::string_view kSuggestionUserId = "4068213579";
inline constexpr std::string_view kSuggestionHeaders =
    "User-Agent:Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/59.0.3071.115 Safari/537.36\r\n";

// The endpoint (scheme, host and optional port), the path with the fixed query keys, the
// word encoded as UTF-8, and the fixed user id.
std::string BuildSuggestionUrl(std::string_view word, std::string_view endpoint = kDefaultEndpoint);

// The whole fetch for one word: GET, the fixed user agent, the default time-out, the reply
// converted from UTF-8 to GBK, redirects followed, no proxy and no cookies of our own.
FetchRequest SuggestionRequest(std::string_view word, std::string_view endpoint = kDefaultEndpoint);

// Percent-encodes `text` (GBK). With via_utf8 the UTF-8 bytes of the text are encoded, else
// its GBK bytes; with keep_alnum the bytes "-", ".", digits and ASCII letters stay as they are.
std::string UrlEncode(std::string_view text, bool keep_alnum, bool via_utf8);

// The UTF-8 bytes of a GBK text.
std::string GbkToUtf8(std::string_view gbk);

// Everything after the last occurrence of `marker`, or "" when there is none.
std::string TextAfterLast(std::string_view text, std::string_view marker, bool ignore_case);

// The quoted strings after the last "[" of a reply, in reply order, unescaped as they stand.
std::vector<std::string> ParseSuggestions(std::string_view reply, RegexObject& parser);

}  // namespace lw
