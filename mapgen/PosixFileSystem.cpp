#include "PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "SystemReason.h"

namespace mapgen {
namespace {

enum class EntryKind { kFolder, kFile, kOther };

EntryKind KindOfMode(mode_t mode) {
  if (S_ISDIR(mode)) return EntryKind::kFolder;
  if (S_ISREG(mode)) return EntryKind::kFile;
  return EntryKind::kOther;
}

// What an entry is, from the listing's own type where it gives one, so
// that most entries cost no extra system call. A link counts as a file
// when it leads to one; a link to a folder counts as neither.
EntryKind KindOf(int folderFd, const dirent64& entry) {
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

void AddEntry(int folderFd, const dirent64& entry, FolderListing& listing) {
  if (entry.d_name[0] == '.') return;  // hidden, and "." and ".."
  switch (KindOf(folderFd, entry)) {
    case EntryKind::kFolder:
      listing.subfolders.emplace_back(entry.d_name);
      break;
    case EntryKind::kFile:
      listing.files.emplace_back(entry.d_name);
      break;
    case EntryKind::kOther:
      break;
  }
}

// Reads the entries straight from the kernel: the DIR stream would add
// three system calls to every folder of a large tree.
bool ReadEntries(int fd, FolderListing& listing, std::string& reason) {
  alignas(dirent64) char buffer[32 * 1024];
  while (true) {
    const ssize_t got = ::getdents64(fd, buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      reason = SystemReason(errno);
      return false;
    }
    for (ssize_t pos = 0; pos < got;) {
      const auto* entry = reinterpret_cast<const dirent64*>(buffer + pos);
      AddEntry(fd, *entry, listing);
      pos += entry->d_reclen;
    }
  }
}

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
  if (fd < 0) {
    reason = SystemReason(errno);
    return false;
  }
  const bool read = ReadEntries(fd, listing, reason);
  ::close(fd);
  return read;
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
