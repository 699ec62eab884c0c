// The file accepted words are appended to.
#pragma once

#include <filesystem>
#include <string_view>

namespace lw {

// Appends `word` (GBK bytes as they are) and CR LF to the file at `path`, creating it when it
// does not exist and never truncating it. The line goes out in a single append, so a line is
// never left half written. False when the file cannot be opened or written; the caller goes on.
bool AppendLine(const std::filesystem::path& path, std::string_view word);

}  // namespace lw
