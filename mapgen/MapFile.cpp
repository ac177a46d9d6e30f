#include "MapFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>
#include <utility>

#include "LongPath.h"
#include "Paths.h"
#include "SystemReason.h"
#include "TemporaryFiles.h"

namespace mapgen {
namespace {

bool Fail(std::string& reason, int error) {
  reason = SystemReason(error);
  return false;
}

// An open descriptor, closed when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes it now, so that a failure to close can be reported.
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

// The descriptor that /dev/stdout, /dev/stderr or /dev/fd/N names; -1 for
// any other path. These names are taken as the process's own descriptors,
// never looked up through /proc to the file behind them.
int OwnDescriptor(std::string_view path) {
  if (path == "/dev/stdout") return STDOUT_FILENO;
  if (path == "/dev/stderr") return STDERR_FILENO;
  constexpr std::string_view kFdFolder = "/dev/fd/";
  if (!path.starts_with(kFdFolder)) return -1;
  path.remove_prefix(kFdFolder.size());
  int fd = -1;
  const auto [end, error] =
      std::from_chars(path.data(), path.data() + path.size(), fd);
  return error == std::errc() && end == path.data() + path.size() ? fd : -1;
}

// A name no other file in the folder is likely to have.
std::string TemporaryName() {
  static constexpr std::string_view kLetters =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static std::atomic<unsigned> counter = 0;
  unsigned char random[12] = {};
  if (::getrandom(random, sizeof random, GRND_NONBLOCK) != sizeof random) {
    // Without randomness, the count still gives each try a new name.
    const unsigned count = counter++ ^ static_cast<unsigned>(::getpid());
    std::memcpy(random, &count, sizeof count);
  }
  std::string name(kTemporaryPrefix);
  for (const unsigned char byte : random) {
    name += kLetters[byte % kLetters.size()];
  }
  return name + ".tmp";
}

// Creates a new file in `folder`, never through a link and never one that
// exists. Made with the mode a new file gets from the umask.
int CreateTemporary(int folder, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = TemporaryName();
    const int fd = ::openat(
        folder, name.c_str(),
        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Gives the new page the old one's owner and group where the process may
// (root may; a user may keep a group they belong to), and its permissions.
bool KeepOwnerAndMode(int fd, const struct stat& old, std::string& reason) {
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    [[maybe_unused]] const int ignored = ::fchown(fd, -1, old.st_gid);
  }
  return ::fchmod(fd, old.st_mode & 07777) == 0 || Fail(reason, errno);
}

bool ReplaceAtomically(int folder, const std::string& folderPath,
                       const std::string& name, std::string_view text,
                       const struct stat* old, std::string& reason) {
  std::string temporary;
  Descriptor file(CreateTemporary(folder, temporary));
  if (file.get() < 0) {
    reason = "cannot create a file in " + folderPath + ": " +
             SystemReason(errno);
    return false;
  }
  const TemporaryFileRecord record(folder, temporary);
  bool ok = (old == nullptr || KeepOwnerAndMode(file.get(), *old, reason)) &&
            WriteAll(file.get(), text, reason) &&
            (::fsync(file.get()) == 0 || Fail(reason, errno));
  if (!file.Close() && ok) ok = Fail(reason, errno);
  if (ok && ::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
    ok = Fail(reason, errno);
  }
  if (!ok) ::unlinkat(folder, temporary.c_str(), 0);
  return ok;
}

// Writes to the pipe, terminal or device at `name`. Nothing when a file
// has taken its place meanwhile: that one is replaced instead, never
// written into.
std::optional<bool> WriteStream(int folder, const std::string& name,
                                std::string_view text, std::string& reason) {
  // O_NONBLOCK: a pipe that nobody reads fails the open at once instead of
  // waiting for a reader that may never come.
  Descriptor stream(::openat(folder, name.c_str(),
                             O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat opened;
  if (stream.get() < 0 || ::fstat(stream.get(), &opened) != 0) {
    const int error = errno;
    reason = SystemReason(error);
    struct stat target;
    if (error == ENXIO && ::fstatat(folder, name.c_str(), &target, 0) == 0 &&
        S_ISFIFO(target.st_mode)) {
      reason += " (nothing reads from the pipe)";
    }
    return false;
  }
  if (S_ISREG(opened.st_mode)) return std::nullopt;
  const int flags = ::fcntl(stream.get(), F_GETFL);
  if (flags < 0 || ::fcntl(stream.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    return Fail(reason, errno);
  }
  if (!WriteAll(stream.get(), text, reason)) return false;
  return stream.Close() || Fail(reason, errno);
}

// The reason a path that ends in "/", "." or ".." cannot take a page.
bool FailForFolderName(const std::string& path, std::string& reason) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return Fail(reason, errno);
  return Fail(reason, S_ISDIR(info.st_mode) ? EISDIR : ENOTDIR);
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& text,
                   std::string& reason, std::size_t limit) {
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (file.get() < 0) return Fail(reason, errno);
  text.clear();
  char buffer[64 * 1024];
  while (text.size() < limit) {
    const ssize_t got = ::read(file.get(), buffer,
                               std::min(sizeof buffer, limit - text.size()));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Fail(reason, errno);
    if (got == 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  return true;
}

bool WriteAll(int fd, std::string_view text, std::string& reason) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return Fail(reason, errno);
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool WriteMapFile(const std::string& path, std::string_view text,
                  std::string& reason) {
  const int own = OwnDescriptor(path);
  if (own >= 0) return WriteAll(own, text, reason);
  const std::string name(LastName(path));
  if (name.empty() || name == "." || name == "..") {
    return FailForFolderName(path, reason);
  }
  const std::string folderPath = ParentFolder(path);
  const Descriptor folder(
      OpenLongPath(folderPath, O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0) return Fail(reason, errno);
  struct stat target;
  if (::fstatat(folder.get(), name.c_str(), &target, 0) == 0) {
    if (S_ISDIR(target.st_mode)) return Fail(reason, EISDIR);
    if (!S_ISREG(target.st_mode)) {
      if (const auto written = WriteStream(folder.get(), name, text, reason)) {
        return *written;
      }
    }
  }
  struct stat page;
  const bool isPage =
      ::fstatat(folder.get(), name.c_str(), &page, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISREG(page.st_mode);
  if (isPage && ::faccessat(folder.get(), name.c_str(), W_OK, 0) != 0) {
    return Fail(reason, errno);
  }
  return ReplaceAtomically(folder.get(), folderPath, name, text,
                           isPage ? &page : nullptr, reason);
}

}  // namespace mapgen
