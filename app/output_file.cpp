#include "app/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace lw {

bool AppendLine(const std::filesystem::path& path, std::string_view word) {
  std::string line(word);
  line += "\r\n";
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  ssize_t written;
  do {
    written = ::write(fd, line.data(), line.size());
  } while (written < 0 && errno == EINTR);
  ::close(fd);
  return written == static_cast<ssize_t>(line.size());
}

}  // namespace lw
