#include "WriteAll.h"

#include <unistd.h>

#include <cerrno>

namespace mapgen {

Outcome<void> WriteAll(int fd, std::string_view bytes,
                       const std::string& name) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return SystemFailure(name, errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

}  // namespace mapgen
