#include "PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace mapgen {
namespace {

std::string SystemReason(int error) { return std::strerror(error); }

enum class EntryKind { kFolder, kFile, kOther };

EntryKind KindOfMode(mode_t mode) {
  if (S_ISDIR(mode)) return EntryKind::kFolder;
  if (S_ISREG(mode)) return EntryKind::kFile;
  return EntryKind::kOther;
}

// What an entry is, from the listing's own type where it gives one, so
// that most entries cost no extra system call. A link counts as a file
// when it leads to one; a link to a folder counts as neither.
EntryKind KindOf(int folderFd, const dirent& entry) {
  struct stat info;
  switch (entry.d_type) {
    case DT_DIR:
      return EntryKind::kFolder;
    case DT_REG:
      return EntryKind::kFile;
    case DT_LNK:
      if (::fstatat(folderFd, entry.d_name, &info, 0) != 0) {
        return EntryKind::kOther;
      }
      return S_ISREG(info.st_mode) ? EntryKind::kFile : EntryKind::kOther;
    case DT_UNKNOWN:
      if (::fstatat(folderFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return EntryKind::kOther;
      }
      if (S_ISLNK(info.st_mode)) {
        if (::fstatat(folderFd, entry.d_name, &info, 0) != 0) {
          return EntryKind::kOther;
        }
        return S_ISREG(info.st_mode) ? EntryKind::kFile : EntryKind::kOther;
      }
      return KindOfMode(info.st_mode);
    default:
      return EntryKind::kOther;
  }
}

class PosixFileReader : public FileReader {
 public:
  explicit PosixFileReader(int fd) : fd_(fd) {}
  ~PosixFileReader() override { ::close(fd_); }
  PosixFileReader(const PosixFileReader&) = delete;
  PosixFileReader& operator=(const PosixFileReader&) = delete;

  long Read(char* buffer, std::size_t size, std::string& reason) override {
    while (true) {
      const ssize_t got = ::read(fd_, buffer, size);
      if (got >= 0) return static_cast<long>(got);
      if (errno == EINTR) continue;
      reason = SystemReason(errno);
      return -1;
    }
  }

 private:
  int fd_;
};

}  // namespace

bool PosixFileSystem::IsFolder(const std::string& path,
                               std::string& reason) const {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) {
    reason = SystemReason(errno);
    return false;
  }
  if (!S_ISDIR(info.st_mode)) {
    reason = SystemReason(ENOTDIR);
    return false;
  }
  return true;
}

bool PosixFileSystem::ListFolder(const std::string& path,
                                 FolderListing& listing,
                                 std::string& reason) const {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* folder = fd < 0 ? nullptr : ::fdopendir(fd);
  if (folder == nullptr) {
    reason = SystemReason(errno);
    if (fd >= 0) ::close(fd);
    return false;
  }
  errno = 0;
  while (const dirent* entry = ::readdir(folder)) {
    if (entry->d_name[0] == '.') continue;  // hidden, and "." and ".."
    switch (KindOf(fd, *entry)) {
      case EntryKind::kFolder:
        listing.subfolders.emplace_back(entry->d_name);
        break;
      case EntryKind::kFile:
        listing.files.emplace_back(entry->d_name);
        break;
      case EntryKind::kOther:
        break;
    }
    errno = 0;
  }
  const int error = errno;
  ::closedir(folder);
  if (error != 0) {
    reason = SystemReason(error);
    return false;
  }
  return true;
}

std::unique_ptr<FileReader> PosixFileSystem::OpenFile(
    const std::string& path, std::string& reason) const {
  // O_NONBLOCK keeps the open itself from waiting on a pipe that took a
  // page's place; the check below then refuses it.
  const int fd =
      ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    reason = SystemReason(errno);
    return nullptr;
  }
  struct stat info;
  if (::fstat(fd, &info) != 0) {
    reason = SystemReason(errno);
  } else if (S_ISDIR(info.st_mode)) {
    reason = SystemReason(EISDIR);
  } else if (!S_ISREG(info.st_mode)) {
    reason = "Not a regular file";
  } else {
    return std::make_unique<PosixFileReader>(fd);
  }
  ::close(fd);
  return nullptr;
}

}  // namespace mapgen
