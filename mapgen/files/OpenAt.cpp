#include "OpenAt.h"

#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <variant>

namespace mapgen {
namespace {

// Opens `path`, longer than the system's limit, relative to `at` in parts
// the system takes: each part up to the last "/" that keeps it within the
// limit. Returns the descriptor, or the error number.
std::variant<UniqueFd, int> OpenInParts(int at, std::string_view path,
                                        int flags, mode_t mode) {
  UniqueFd folder;
  while (path.size() >= PATH_MAX) {
    const std::size_t cut = path.rfind('/', PATH_MAX - 1);
    if (cut == std::string_view::npos) return ENAMETOOLONG;
    const std::string part(cut == 0 ? "/" : path.substr(0, cut));
    UniqueFd next(::openat(folder ? folder.get() : at, part.c_str(),
                           O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!next) return errno;
    folder = std::move(next);
    path.remove_prefix(cut);
    while (path.starts_with('/')) path.remove_prefix(1);
  }
  const std::string last(path.empty() ? "." : path);
  UniqueFd fd(::openat(folder ? folder.get() : at, last.c_str(), flags, mode));
  if (!fd) return errno;
  return fd;
}

}  // namespace

Outcome<UniqueFd> OpenAt(int at, const std::string& path, int flags,
                         const std::string& shownPath, mode_t mode) {
  if (path.size() < PATH_MAX) {
    UniqueFd fd(::openat(at, path.c_str(), flags, mode));
    if (fd) return fd;
    return SystemFailure(shownPath, errno);
  }
  auto opened = OpenInParts(at, path, flags, mode);
  if (auto* fd = std::get_if<UniqueFd>(&opened)) return std::move(*fd);
  return SystemFailure(shownPath, std::get<int>(opened));
}

Outcome<Pipe> OpenPipe(const std::string& shownPath) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return SystemFailure(shownPath, errno);
  return Pipe{UniqueFd(ends[0]), UniqueFd(ends[1])};
}

}  // namespace mapgen
