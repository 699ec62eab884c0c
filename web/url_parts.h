// The parts of a URL the request engine connects with.
#pragma once

#include <string>
#include <string_view>

namespace lw {

// Whether the request goes over HTTPS: its first five characters, lower-cased, are "https".
bool IsHttpsUrl(std::string_view url);

// Every "https://" and then every "http://" removed; cut before the first "/" and then before
// the first ":"; ASCII letters lower-cased.
std::string UrlHost(std::string_view url);

// From the first "/" after the host to the end, query included; "/" when there is none.
std::string UrlPath(std::string_view url);

// The port written after the host, else 443 for HTTPS and 80 otherwise.
int UrlPort(std::string_view url);

}  // namespace lw
