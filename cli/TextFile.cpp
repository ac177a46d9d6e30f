#include "TextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace cli {

bool ReadWholeFile(const std::string& path, std::string& text,
                   std::string& reason) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    reason = std::strerror(errno);
    return false;
  }
  text.clear();
  char buffer[64 * 1024];
  while (true) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      if (got < 0) reason = std::strerror(errno);
      ::close(fd);
      return got == 0;
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace cli
