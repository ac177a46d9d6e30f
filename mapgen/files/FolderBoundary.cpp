#include "FolderBoundary.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "OpenAt.h"

namespace mapgen {
namespace {

// As the kernel follows links: no more than this many in one chain.
constexpr int kMostLinks = 40;

constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;

std::optional<FileId> IdOfFd(int fd) {
  struct stat info;
  if (::fstat(fd, &info) != 0) return std::nullopt;
  return FileId{static_cast<std::uint64_t>(info.st_dev),
                static_cast<std::uint64_t>(info.st_ino)};
}

// The path the kernel gives for the open `fd`; empty when it gives none
// (no /proc, or a path longer than it reports).
std::string KernelPath(int fd) {
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  std::string path(PATH_MAX, '\0');
  const ssize_t length = ::readlink(link.c_str(), path.data(), path.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= path.size() ||
      path[0] != '/') {
    return {};
  }
  path.resize(static_cast<std::size_t>(length));
  return path;
}

// The text of the link `name` in `folderFd`; empty, with errno set, when
// it cannot be read.
std::string LinkText(int folderFd, const std::string& name) {
  std::string text(PATH_MAX, '\0');
  const ssize_t length =
      ::readlinkat(folderFd, name.c_str(), text.data(), text.size());
  if (length <= 0) return {};
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// Opens `name` in `folderFd` with `flags`, never following a link there;
// nothing, with `link` set, when a link stands there.
Outcome<UniqueFd> OpenUnlessLink(int folderFd, const std::string& name,
                                 int flags, const std::string& shownPath,
                                 bool& link) {
  auto opened = OpenAt(folderFd, name, flags | O_NOFOLLOW, shownPath);
  link = !opened &&
         opened.failure().error == std::errc::too_many_symbolic_link_levels;
  if (!opened || (flags & O_PATH) == 0) return opened;
  // O_PATH opens a link itself rather than failing.
  struct stat info;
  link = ::fstat(opened->get(), &info) == 0 && S_ISLNK(info.st_mode);
  if (link) return SystemFailure(shownPath, ELOOP);
  return opened;
}

}  // namespace

FolderBoundary::FolderBoundary(int folderFd) {
  if (auto opened = OpenAt(folderFd, ".", kFolderFlags, {})) {
    fd_ = std::move(*opened);
    id_ = IdOfFd(fd_.get()).value_or(FileId{});
    path_ = KernelPath(fd_.get());
  }
}

bool FolderBoundary::Holds(int folderFd) const {
  const std::string path = path_.empty() ? std::string() : KernelPath(folderFd);
  if (path.empty()) return HoldsByAncestry(folderFd);
  return path == path_ || path_ == "/" ||
         (path.starts_with(path_) && path[path_.size()] == '/');
}

// Climbs from `folderFd` to the root, looking for this folder on the way:
// the answer where the kernel gives no path.
bool FolderBoundary::HoldsByAncestry(int folderFd) const {
  auto folder = OpenAt(folderFd, ".", kFolderFlags, {});
  while (folder) {
    const auto id = IdOfFd(folder->get());
    if (!id) return false;
    if (*id == id_) return true;
    auto parent = OpenAt(folder->get(), "..", kFolderFlags, {});
    if (!parent || IdOfFd(parent->get()) == id) return false;
    folder = std::move(parent);
  }
  return false;
}

Outcome<UniqueFd> OpenLinkedFile(int folderFd, const std::string& name,
                                 int flags, const FolderBoundary& boundary,
                                 const std::string& shownPath, bool& outside) {
  outside = false;
  auto folder = OpenAt(folderFd, ".", kFolderFlags, shownPath);
  std::string leaf = name;
  for (int links = 0; folder && links <= kMostLinks; ++links) {
    bool link = false;
    auto opened = OpenUnlessLink(folder->get(), leaf, flags, shownPath, link);
    if (!link) {
      outside = !boundary.Holds(folder->get());
      return opened;
    }
    const std::string text = LinkText(folder->get(), leaf);
    if (text.empty()) {
      outside = !boundary.Holds(folder->get());
      return SystemFailure(shownPath, errno);
    }
    // The kernel opens the folder part, following what links it holds;
    // the last name is this loop's to open.
    const std::size_t slash = text.rfind('/');
    const std::string part = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : text.substr(0, slash);
    leaf = slash == std::string::npos ? text : text.substr(slash + 1);
    if (leaf.empty()) leaf = ".";
    const int from = text.starts_with('/') ? AT_FDCWD : folder->get();
    folder = OpenAt(from, part, kFolderFlags, shownPath);
  }
  if (!folder) return std::move(folder).failure();
  return SystemFailure(shownPath, ELOOP);
}

}  // namespace mapgen
