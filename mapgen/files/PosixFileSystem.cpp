#include "PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>

#include "LongPath.h"
#include "Paths.h"
#include "PosixOutputFolder.h"

namespace mapgen {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
// O_NONBLOCK keeps the open itself from waiting on a pipe that took a
// page's place; the type check after it then refuses the pipe.
constexpr int kFileFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
// Few enough that the descriptor table keeps its first size: growing it
// while threads share it waits for every other core each time.
constexpr std::size_t kMostHeldFolders = 32;
// What the rest of the process may hold open: standard streams, a window's
// connections, the page being written.
constexpr rlim_t kDescriptorsForTheRest = 16;

rlim_t DescriptorLimit() {
  rlimit limit{};
  return ::getrlimit(RLIMIT_NOFILE, &limit) == 0 ? limit.rlim_cur : 0;
}

FileId IdOf(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev),
          static_cast<std::uint64_t>(info.st_ino)};
}

EntryKind KindOfMode(mode_t mode) {
  if (S_ISDIR(mode)) return EntryKind::kFolder;
  if (S_ISREG(mode)) return EntryKind::kFile;
  return EntryKind::kOther;
}

// Where a link leads, as the kind of link it is.
EntryKind KindOfLink(int folderFd, const char* name) {
  struct stat info;
  if (::fstatat(folderFd, name, &info, 0) != 0) return EntryKind::kOther;
  switch (KindOfMode(info.st_mode)) {
    case EntryKind::kFolder:
      return EntryKind::kLinkToFolder;
    case EntryKind::kFile:
      return EntryKind::kLinkToFile;
    default:
      return EntryKind::kOther;
  }
}

// What an entry is, from the listing's own type where it gives one, so
// that most entries cost no extra system call.
EntryKind KindOf(int folderFd, const dirent64& entry) {
  struct stat info;
  switch (entry.d_type) {
    case DT_DIR:
      return EntryKind::kFolder;
    case DT_REG:
      return EntryKind::kFile;
    case DT_LNK:
      return KindOfLink(folderFd, entry.d_name);
    case DT_UNKNOWN:
      if (::fstatat(folderFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return EntryKind::kOther;
      }
      return S_ISLNK(info.st_mode) ? KindOfLink(folderFd, entry.d_name)
                                   : KindOfMode(info.st_mode);
    default:
      return EntryKind::kOther;
  }
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' &&
         (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Reads the entries straight from the kernel: the DIR stream would add
// three system calls to every folder of a large tree. Returns 0, or the
// error number.
int ReadEntries(int fd, const EntryVisitor& visit) {
  alignas(dirent64) char buffer[32 * 1024];
  while (true) {
    const ssize_t got = ::getdents64(fd, buffer, sizeof buffer);
    if (got == 0) return 0;
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    for (ssize_t pos = 0; pos < got;) {
      const auto* entry = reinterpret_cast<const dirent64*>(buffer + pos);
      if (!IsDotOrDotDot(entry->d_name)) {
        visit(entry->d_name, KindOf(fd, *entry));
      }
      pos += entry->d_reclen;
    }
  }
}

class PosixFileReader : public FileReader {
 public:
  PosixFileReader(int fd, std::string path, const struct stat& info)
      : fd_(fd),
        path_(std::move(path)),
        id_(IdOf(info)),
        otherNames_(info.st_nlink > 1),
        facts_{static_cast<std::uint64_t>(info.st_size), info.st_mtim.tv_sec},
        left_(static_cast<std::size_t>(info.st_size)) {}
  ~PosixFileReader() override { ::close(fd_); }
  PosixFileReader(const PosixFileReader&) = delete;
  PosixFileReader& operator=(const PosixFileReader&) = delete;

  long Read(char* buffer, std::size_t size, Failure& failure) override {
    size = std::min(size, left_);
    if (size == 0) return 0;
    while (true) {
      const ssize_t got = ::read(fd_, buffer, size);
      if (got >= 0) {
        // A file cut short while it is read ends where it now ends.
        left_ = got == 0 ? 0 : left_ - static_cast<std::size_t>(got);
        return static_cast<long>(got);
      }
      if (errno == EINTR) continue;
      failure = SystemFailure(path_, errno);
      return -1;
    }
  }

  FileId Id() const override { return id_; }
  bool HasOtherNames() const override { return otherNames_; }
  std::optional<FileFacts> Facts() const override { return facts_; }

 private:
  int fd_;
  std::string path_;
  FileId id_;
  bool otherNames_;
  FileFacts facts_;
  std::size_t left_;
};

class PosixFolder;

std::unique_ptr<FolderHandle> AdoptFolder(int fd, std::string path,
                                          Failure& failure,
                                          const PosixFolder* parent = nullptr);

// Whether a folder's link count on this file system is two plus its
// subfolders, so that a count of two tells a folder without subfolders.
bool CountsSubfoldersInLinks(int fd) {
  struct statfs info;
  if (::fstatfs(fd, &info) != 0) return false;
  switch (info.f_type) {
    case EXT4_SUPER_MAGIC:  // ext2 and ext3 too
    case XFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
      return true;
    default:
      return false;
  }
}

// A reader of the page just opened as `fd`, or, when it is no regular
// file, nothing: a pipe or a device named like a page is never read.
std::unique_ptr<FileReader> AdoptFile(int fd, std::string path,
                                      Failure& failure) {
  struct stat info;
  if (fd < 0 || ::fstat(fd, &info) != 0) {
    failure = SystemFailure(std::move(path), errno);
  } else if (S_ISDIR(info.st_mode)) {
    failure = SystemFailure(std::move(path), EISDIR);
  } else if (!S_ISREG(info.st_mode)) {
    failure = {std::move(path), "Not a regular file", 0};
  } else {
    return std::make_unique<PosixFileReader>(fd, std::move(path), info);
  }
  if (fd >= 0) ::close(fd);
  return nullptr;
}

class PosixFolder : public FolderHandle {
 public:
  PosixFolder(int fd, std::string path, FileId id,
              std::optional<bool> leafCounts)
      : fd_(fd), path_(std::move(path)), id_(id), leafCounts_(leafCounts) {}
  ~PosixFolder() override { ::close(fd_); }
  PosixFolder(const PosixFolder&) = delete;
  PosixFolder& operator=(const PosixFolder&) = delete;

  const std::string& Path() const override { return path_; }
  FileId Id() const override { return id_; }

  // What a subfolder at `id` may take over of this folder's knowledge.
  std::optional<bool> LeafCountsFor(FileId id) const {
    return id.device == id_.device ? leafCounts_ : std::nullopt;
  }

  bool List(const EntryVisitor& visit, Failure& failure) override {
    // A folder is usually listed once: only a second listing rewinds.
    const bool rewound = !listed_ || ::lseek(fd_, 0, SEEK_SET) == 0;
    listed_ = true;
    const int error = rewound ? ReadEntries(fd_, visit) : errno;
    if (error != 0) failure = SystemFailure(path_, error);
    return error == 0;
  }

  std::unique_ptr<FolderHandle> OpenSubfolder(const std::string& name,
                                              Failure& failure) override {
    return AdoptFolder(::openat(fd_, name.c_str(), kFolderFlags | O_NOFOLLOW),
                       JoinPath(path_, name), failure, this);
  }

  bool IsLeaf(const std::string& name, FileId& id) override {
    if (!leafCounts_) leafCounts_ = CountsSubfoldersInLinks(fd_);
    struct stat info;
    if (!*leafCounts_ ||
        ::fstatat(fd_, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISDIR(info.st_mode) || info.st_nlink != 2 ||
        IdOf(info).device != id_.device) {
      return false;
    }
    id = IdOf(info);
    return true;
  }

  std::unique_ptr<FileReader> OpenFile(const std::string& name,
                                       Failure& failure) override {
    return AdoptFile(::openat(fd_, name.c_str(), kFileFlags),
                     JoinPath(path_, name), failure);
  }

  bool Facts(const std::string& name, FileFacts& facts,
             Failure& failure) override {
    struct stat info;
    if (::fstatat(fd_, name.c_str(), &info, 0) != 0) {
      failure = SystemFailure(JoinPath(path_, name), errno);
      return false;
    }
    facts = {static_cast<std::uint64_t>(info.st_size), info.st_mtim.tv_sec};
    return true;
  }

 private:
  int fd_;
  std::string path_;
  FileId id_;
  bool listed_ = false;
  // Known once asked, and the same for subfolders on the same device.
  std::optional<bool> leafCounts_;
};

std::unique_ptr<FolderHandle> AdoptFolder(int fd, std::string path,
                                          Failure& failure,
                                          const PosixFolder* parent) {
  struct stat info;
  if (fd < 0 || ::fstat(fd, &info) != 0) {
    failure = SystemFailure(std::move(path), errno);
    if (fd >= 0) ::close(fd);
    return nullptr;
  }
  const FileId id = IdOf(info);
  return std::make_unique<PosixFolder>(
      fd, std::move(path), id,
      parent != nullptr ? parent->LeafCountsFor(id) : std::nullopt);
}

}  // namespace

std::unique_ptr<FolderHandle> PosixFileSystem::OpenFolder(
    const std::string& path, Failure& failure) const {
  return AdoptFolder(OpenLongPath(path, kFolderFlags), path, failure);
}

std::unique_ptr<FolderHandle> PosixFileSystem::Reopen(const std::string& path,
                                                      FileId id,
                                                      Failure& failure) const {
  auto folder = AdoptFolder(OpenLongPath(path, kFolderFlags), path, failure);
  if (folder != nullptr && folder->Id() != id) {
    failure = {path, kReplacedReason, 0};
    return nullptr;
  }
  return folder;
}

std::unique_ptr<FileReader> PosixFileSystem::OpenFile(const std::string& path,
                                                      Failure& failure) const {
  return AdoptFile(OpenLongPath(path, kFileFlags), path, failure);
}

std::unique_ptr<OutputFolder> PosixFileSystem::OpenOutputFolder(
    const std::string& path, Failure& failure) const {
  return OpenPosixOutputFolder(path, failure);
}

std::size_t PosixFileSystem::HeldFolderBudget() const {
  // A quarter of the descriptors, so that the build's threads, the pages
  // they read and whatever else the process holds have room too.
  return std::min<rlim_t>(DescriptorLimit() / 4, kMostHeldFolders);
}

unsigned PosixFileSystem::ReadersAllowed() const {
  const rlim_t limit = DescriptorLimit();
  const rlim_t taken = kDescriptorsForTheRest + HeldFolderBudget();
  return static_cast<unsigned>(
      std::clamp<rlim_t>(limit > taken ? (limit - taken) / 2 : 0, 1, UINT_MAX));
}

}  // namespace mapgen
