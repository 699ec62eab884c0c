// What whoever deploys the program may set. Every value has a default; a settings file of
// "key = value" lines (UTF-8, "#" starts a comment) may change them.
#pragma once

#include <filesystem>
#include <string>

namespace lw {

struct AppSettings {
  // Scheme, host and optional port of the suggestion endpoint.
  std::string endpoint;
  // The file accepted words are appended to; relative to the current folder.
  std::filesystem::path output_file;
  // Extra trusted certificates (PEM) for HTTPS; empty: the system's only.
  std::filesystem::path ca_file;
  // Plain replacements of the stored hidden texts (GBK); empty: the stored one is used.
  std::string title;
  std::string link_qq;
  std::string link_wangwang;
  std::string link_guide;

  AppSettings();
};

// Checks and normalises an endpoint: "http://" or "https://", a host, an optional ":port",
// nothing after it but an optional "/". False, with `error` set, when it is not one.
bool NormaliseEndpoint(std::string& endpoint, std::string* error);

// Reads `path` into `settings`. Keys: endpoint, output_file, ca_file, title, link_qq,
// link_wangwang, link_guide. False, with `error` saying which line is wrong, when the file
// cannot be read or holds an unknown key or a bad value; `settings` is then unchanged.
bool LoadSettingsFile(const std::filesystem::path& path, AppSettings& settings, std::string* error);

}  // namespace lw
