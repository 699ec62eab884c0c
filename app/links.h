// The link commands of the popup menu: a decoded address opened with the desktop's opener.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace lw {

// The folder the program was started from (where its shipped pages lie).
std::filesystem::path ProgramFolder();

// A web address (one with a scheme) stays as it is; an address without one names a page
// shipped with the program, relative to `install_folder`, and becomes a file:// URL. UTF-8.
std::string ResolveLinkAddress(std::string_view address_utf8,
                               const std::filesystem::path& install_folder);

// Receives the UTF-8 address to open.
using AddressOpener = std::function<void(const std::string&)>;

// Starts xdg-open with the address as its one argument (no shell in between); the child is
// reaped in the background. Nothing is reported whether it works or not.
void OpenWithDesktop(const std::string& address_utf8);

// Opens a GBK address: resolved against the program folder and handed to `opener`. An empty
// address opens nothing.
void OpenAddress(std::string_view address_gbk, const AddressOpener& opener = OpenWithDesktop);

// Decodes a stored link text with the second key and opens it.
void OpenLink(std::string_view link_text, const AddressOpener& opener = OpenWithDesktop);

}  // namespace lw
