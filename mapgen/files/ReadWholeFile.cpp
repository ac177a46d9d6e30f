#include "ReadWholeFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "SystemReason.h"

namespace mapgen {

bool ReadWholeFile(const std::string& path, std::string& text,
                   std::string& reason, std::size_t limit) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    reason = SystemReason(errno);
    return false;
  }
  text.clear();
  char buffer[64 * 1024];
  bool read = true;
  while (text.size() < limit) {
    const ssize_t got =
        ::read(fd, buffer, std::min(sizeof buffer, limit - text.size()));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) reason = SystemReason(errno);
    if (got <= 0) {
      read = got == 0;
      break;
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return read;
}

}  // namespace mapgen
