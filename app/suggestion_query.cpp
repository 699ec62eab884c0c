#include "app/suggestion_query.h"

#include "base/codepage.h"
#include "base/text_search.h"

namespace lw {

std::string BuildSuggestionUrl(std::string_view word, std::string_view endpoint) {
  std::string url(endpoint);
  url += kSuggestionPath;
  url += UrlEncode(word, true, true);
  url += "&pdduid=";
  url += kSuggestionUserId;
  return url;
}

FetchRequest SuggestionRequest(std::string_view word, std::string_view endpoint) {
  FetchRequest request;
  request.url = BuildSuggestionUrl(word, endpoint);
  request.headers = std::string(kSuggestionHeaders);
  request.conversion = ReplyConversion::kUtf8ToGbk;
  return request;
}

std::string UrlEncode(std::string_view text, bool keep_alnum, bool via_utf8) {
  text = text.substr(0, text.find('\0'));
  if (text.empty()) return {};
  std::string bytes = via_utf8 ? GbkToUtf8(text) : std::string(text);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (char ch : bytes) {
    auto c = static_cast<unsigned char>(ch);
    bool plain = keep_alnum && (c == '-' || c == '.' || (c >= '0' && c <= '9') ||
                                (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
    if (plain) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

std::string GbkToUtf8(std::string_view gbk) {
  return FromWide(ToWide(gbk, kCodePageGbk), kCodePageUtf8);
}

std::string TextAfterLast(std::string_view text, std::string_view marker, bool ignore_case) {
  int at = FindLastText(text, marker, ignore_case);
  if (at == 0) return {};
  return std::string(text.substr(static_cast<size_t>(at - 1) + marker.size()));
}

std::vector<std::string> ParseSuggestions(std::string_view reply, RegexObject& parser) {
  std::vector<std::string> suggestions;
  std::string cut = TextAfterLast(reply, "[", false);
  if (cut.empty()) return suggestions;
  parser.Search("\"(.*?)\"", cut);
  int count = parser.MatchCount();
  suggestions.reserve(static_cast<size_t>(count));
  for (int k = 1; k <= count; ++k)
    suggestions.push_back(parser.SubMatchText(k, 1));
  return suggestions;
}

}  // namespace lw
