#include "web/url_parts.h"

#include <cstdlib>

#include "base/text_search.h"

namespace lw {
namespace {

void RemoveAll(std::string& s, std::string_view what) {
  for (size_t at; (at = s.find(what)) != std::string::npos;)
    s.erase(at, what.size());
}

bool StartsWithIgnoringCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && AsciiLower(s.substr(0, prefix.size())) == prefix;
}

}  // namespace

bool IsHttpsUrl(std::string_view url) {
  return StartsWithIgnoringCase(url, "https");
}

std::string UrlHost(std::string_view url) {
  std::string s(url);
  RemoveAll(s, "https://");
  RemoveAll(s, "http://");
  s = s.substr(0, s.find('/'));
  s = s.substr(0, s.find(':'));
  return AsciiLower(s);
}

std::string UrlPath(std::string_view url) {
  std::string host = UrlHost(url);
  // The host is looked for after the scheme, so that a host such as "h" or "tp" is not found
  // inside "http://".
  size_t scheme = url.find("://");
  int from = scheme == std::string_view::npos ? 1 : static_cast<int>(scheme) + 4;
  int at = FindText(url, host, from, true);
  if (at == 0 || host.empty()) at = 1;
  int slash = FindText(url, "/", at + static_cast<int>(host.size()));
  if (slash == 0) return "/";
  return std::string(url.substr(static_cast<size_t>(slash - 1)));
}

int UrlPort(std::string_view url) {
  // The authority: what follows the scheme up to the next "/". An HTTPS URL keeps the port
  // written in it too; without one it is 443.
  bool https = IsHttpsUrl(url);
  std::string_view authority;
  if (StartsWithIgnoringCase(url, "https://")) {
    authority = url.substr(8);
  } else if (StartsWithIgnoringCase(url, "http://")) {
    authority = url.substr(7);
  } else {
    authority = url;
  }
  authority = authority.substr(0, authority.find('/'));
  size_t colon = authority.find(':');
  if (colon == std::string_view::npos) return https ? 443 : 80;
  return std::atoi(std::string(authority.substr(colon + 1)).c_str());
}

}  // namespace lw
