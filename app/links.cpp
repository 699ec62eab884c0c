#include "app/links.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <system_error>
#include <thread>

#include "app/stored_texts.h"
#include "base/codepage.h"

extern char** environ;

namespace lw {

std::filesystem::path ProgramFolder() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

std::string ResolveLinkAddress(std::string_view address,
                               const std::filesystem::path& install_folder) {
  if (address.empty() || address.find("://") != std::string_view::npos ||
      address.rfind("mailto:", 0) == 0) {
    return std::string(address);
  }
  std::string path =
      (install_folder / std::filesystem::path(std::string(address))).lexically_normal().string();
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (char ch : path) {
    auto c = static_cast<unsigned char>(ch);
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '/' || c == '-' || c == '.' || c == '_' || c == '~';
    if (plain) {
      url += ch;
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 0xF];
    }
  }
  return url;
}

void OpenWithDesktop(const std::string& address) {
  char program[] = "xdg-open";
  std::string arg = address;
  char* argv[] = {program, arg.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return;
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

void OpenAddress(std::string_view address_gbk, const AddressOpener& opener) {
  // An address that did not decode is empty: there is nothing to hand to the opener.
  if (address_gbk.empty()) return;
  opener(ResolveLinkAddress(GbkToUtf8Text(address_gbk), ProgramFolder()));
}

void OpenLink(std::string_view link_text, const AddressOpener& opener) {
  OpenAddress(DecodeLink(link_text), opener);
}

}  // namespace lw
