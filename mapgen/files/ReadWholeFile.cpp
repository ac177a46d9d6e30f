#include "ReadWholeFile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "OpenAt.h"

namespace mapgen {

Outcome<std::string> ReadWholeFile(const std::string& path, std::size_t limit) {
  const auto fd = OpenAt(AT_FDCWD, path, O_RDONLY | O_CLOEXEC | O_NOCTTY, path);
  if (!fd) return fd.failure();
  std::string text;
  char buffer[64 * 1024];
  while (text.size() < limit) {
    const ssize_t got =
        ::read(fd->get(), buffer, std::min(sizeof buffer, limit - text.size()));
    if (got == 0) break;
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return SystemFailure(path, errno);
    text.append(buffer, static_cast<std::size_t>(got));
  }
  return text;
}

}  // namespace mapgen
