#include "PageSink.h"

#include <unistd.h>

#include <cerrno>

#include "FileSystem.h"

namespace mapgen {

bool DescriptorSink::Write(std::string_view bytes, Failure& failure) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      failure = SystemFailure(name_, errno);
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace mapgen
