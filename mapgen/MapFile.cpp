#include "MapFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>

#include "Paths.h"
#include "SystemReason.h"

namespace mapgen {
namespace {

bool WriteInPlace(const std::string& path, std::string_view text,
                  std::string& reason) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    reason = SystemReason(errno);
    return false;
  }
  const bool written = WriteAll(fd, text, reason);
  if (::close(fd) != 0 && written) {
    reason = SystemReason(errno);
    return false;
  }
  return written;
}

// Creates a new, hidden file beside `path`. It is made with the mode a new
// file gets from the umask, unlike mkstemp's owner-only one.
int CreateSibling(const std::string& path, std::string& temp) {
  static std::atomic<unsigned> counter = 0;
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = ParentFolder(path) + "/.tessary-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter++) + "-" + std::to_string(random());
    const int fd = ::open(temp.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                          0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool ReplaceAtomically(const std::string& path, std::string_view text,
                       const struct stat* existing, std::string& reason) {
  std::string temp;
  const int fd = CreateSibling(path, temp);
  if (fd < 0) {
    reason = SystemReason(errno);
    return false;
  }
  bool ok = WriteAll(fd, text, reason);
  const bool keepMode =
      existing == nullptr || ::fchmod(fd, existing->st_mode & 07777) == 0;
  if (ok && (!keepMode || ::fsync(fd) != 0)) {
    reason = SystemReason(errno);
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    reason = SystemReason(errno);
    ok = false;
  }
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    reason = SystemReason(errno);
    ok = false;
  }
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

std::string LinkTarget(const std::string& path) {
  struct stat link;
  if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string target(resolved);
  std::free(resolved);
  return target;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& text,
                   std::string& reason) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    reason = SystemReason(errno);
    return false;
  }
  text.clear();
  char buffer[64 * 1024];
  while (true) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      if (got < 0) reason = SystemReason(errno);
      ::close(fd);
      return got == 0;
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
}

bool WriteAll(int fd, std::string_view text, std::string& reason) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      reason = SystemReason(errno);
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool WriteMapFile(const std::string& requested, std::string_view text,
                  std::string& reason) {
  // A link to the page is kept: the file it leads to is the one replaced.
  const std::string path = LinkTarget(requested);
  struct stat existing;
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    reason = SystemReason(EISDIR);
    return false;
  }
  if (exists && !S_ISREG(existing.st_mode)) {
    return WriteInPlace(path, text, reason);
  }
  return ReplaceAtomically(path, text, exists ? &existing : nullptr, reason);
}

}  // namespace mapgen
