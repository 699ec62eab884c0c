#include "app/settings.h"

#include <fstream>
#include <sstream>

#include "app/suggestion_query.h"
#include "base/codepage.h"

namespace lw {
namespace {

std::string Trim(std::string s) {
  const char* blanks = " \t\r\n";
  size_t a = s.find_first_not_of(blanks);
  if (a == std::string::npos) return {};
  size_t b = s.find_last_not_of(blanks);
  return s.substr(a, b - a + 1);
}

}  // namespace

AppSettings::AppSettings()
    : endpoint(kDefaultEndpoint), output_file(std::filesystem::u8path("长尾词.txt")) {}

bool NormaliseEndpoint(std::string& endpoint, std::string* error) {
  std::string e = Trim(endpoint);
  size_t scheme_end = 0;
  if (e.rfind("http://", 0) == 0) {
    scheme_end = 7;
  } else if (e.rfind("https://", 0) == 0) {
    scheme_end = 8;
  } else {
    if (error) *error = "the endpoint must begin with http:// or https://";
    return false;
  }
  if (e.size() > scheme_end && e.back() == '/') e.pop_back();
  std::string authority = e.substr(scheme_end);
  size_t colon = authority.rfind(':');
  std::string host = colon == std::string::npos ? authority : authority.substr(0, colon);
  bool host_ok = !host.empty() && host.find_first_of("/?#@ ") == std::string::npos;
  bool port_ok = true;
  if (colon != std::string::npos) {
    std::string port = authority.substr(colon + 1);
    port_ok = !port.empty() && port.size() <= 5 &&
              port.find_first_not_of("0123456789") == std::string::npos && std::stoi(port) > 0 &&
              std::stoi(port) < 65536;
  }
  if (!host_ok || !port_ok) {
    if (error) *error = "the endpoint must be a scheme, a host and an optional port: " + e;
    return false;
  }
  endpoint = e;
  return true;
}

bool LoadSettingsFile(const std::filesystem::path& path, AppSettings& settings,
                      std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = "cannot read the settings file " + path.string();
    return false;
  }
  AppSettings next = settings;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    std::string text = Trim(line);
    if (text.empty() || text[0] == '#') continue;
    auto fail = [&](const std::string& why) {
      if (error) *error = path.string() + ":" + std::to_string(number) + ": " + why;
      return false;
    };
    size_t eq = text.find('=');
    if (eq == std::string::npos) return fail("expected key = value");
    std::string key = Trim(text.substr(0, eq));
    std::string value = Trim(text.substr(eq + 1));
    if (key == "endpoint") {
      std::string why;
      if (!NormaliseEndpoint(value, &why)) return fail(why);
      next.endpoint = value;
    } else if (key == "output_file") {
      if (value.empty()) return fail("output_file must not be empty");
      next.output_file = std::filesystem::u8path(value);
    } else if (key == "ca_file") {
      next.ca_file = std::filesystem::u8path(value);
    } else if (key == "title") {
      next.title = Utf8ToGbk(value);
    } else if (key == "link_qq") {
      next.link_qq = Utf8ToGbk(value);
    } else if (key == "link_wangwang") {
      next.link_wangwang = Utf8ToGbk(value);
    } else if (key == "link_guide") {
      next.link_guide = Utf8ToGbk(value);
    } else {
      return fail("unknown key " + key);
    }
  }
  settings = std::move(next);
  return true;
}

}  // namespace lw
