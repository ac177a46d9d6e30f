#include "LongPath.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace mapgen {
namespace {

// Opens `path` relative to `folder`, cutting it into parts the system
// takes: each part up to the last "/" that keeps it within the limit.
int OpenInParts(int folder, std::string_view path, int flags) {
  while (path.size() >= PATH_MAX) {
    const std::size_t cut = path.rfind('/', PATH_MAX - 1);
    if (cut == std::string_view::npos) {
      errno = ENAMETOOLONG;
      return -1;
    }
    const std::string part(cut == 0 ? "/" : path.substr(0, cut));
    const int next =
        ::openat(folder, part.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const int error = errno;
    if (folder != AT_FDCWD) ::close(folder);
    if (next < 0) {
      errno = error;
      return -1;
    }
    folder = next;
    path.remove_prefix(cut);
    while (path.starts_with('/')) path.remove_prefix(1);
  }
  const std::string last(path.empty() ? "." : path);
  const int fd = ::openat(folder, last.c_str(), flags, 0);
  const int error = errno;
  if (folder != AT_FDCWD) ::close(folder);
  errno = error;
  return fd;
}

}  // namespace

int OpenLongPath(std::string_view path, int flags) {
  if (path.size() < PATH_MAX) {
    return ::open(std::string(path).c_str(), flags, 0);
  }
  return OpenInParts(AT_FDCWD, path, flags);
}

}  // namespace mapgen
