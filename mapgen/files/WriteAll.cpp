#include "WriteAll.h"

#include <unistd.h>

#include <cerrno>

namespace mapgen {

bool WriteAll(int fd, std::string_view bytes, const std::string& name,
              Failure& failure) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      failure = SystemFailure(name, errno);
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace mapgen
