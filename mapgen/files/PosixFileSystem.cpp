#include "PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <optional>

#include "FolderBoundary.h"
#include "OpenAt.h"
#include "Paths.h"
#include "PosixOutputFolder.h"

namespace mapgen {
namespace {

FileFacts FactsOf(const struct stat& info) {
  return {.size = static_cast<std::uint64_t>(info.st_size),
          .modified = info.st_mtim.tv_sec,
          .stamp = {.modifiedSeconds = info.st_mtim.tv_sec,
                    .changedSeconds = info.st_ctim.tv_sec,
                    .modifiedNanoseconds =
                        static_cast<std::uint32_t>(info.st_mtim.tv_nsec),
                    .changedNanoseconds =
                        static_cast<std::uint32_t>(info.st_ctim.tv_nsec),
                    .inode = info.st_ino,
                    .mode = info.st_mode,
                    .user = info.st_uid,
                    .group = info.st_gid}};
}

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
  PosixFileReader(UniqueFd fd, std::string path, const struct stat& info)
      : fd_(std::move(fd)),
        path_(std::move(path)),
        id_(IdOf(info)),
        otherNames_(info.st_nlink > 1),
        facts_(FactsOf(info)),
        left_(static_cast<std::size_t>(info.st_size)) {}

  Outcome<std::size_t> Read(char* buffer, std::size_t size) override {
    size = std::min(size, left_);
    if (size == 0) return 0;
    while (true) {
      const ssize_t got = ::read(fd_.get(), buffer, size);
      if (got >= 0) {
        // A file cut short while it is read ends where it now ends.
        left_ = got == 0 ? 0 : left_ - static_cast<std::size_t>(got);
        return static_cast<std::size_t>(got);
      }
      if (errno != EINTR) return SystemFailure(path_, errno);
    }
  }

  FileId Id() const override { return id_; }
  bool HasOtherNames() const override { return otherNames_; }
  std::optional<FileFacts> Facts() const override { return facts_; }

 private:
  UniqueFd fd_;
  std::string path_;
  FileId id_;
  bool otherNames_;
  FileFacts facts_;
  std::size_t left_;
};

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

// A reader of the page just opened, or, when it is no regular file, a
// failure: a pipe or a device named like a page is never read.
Outcome<std::unique_ptr<FileReader>> AdoptFile(Outcome<UniqueFd> fd,
                                               std::string path) {
  if (!fd) return std::move(fd).failure();
  struct stat info;
  if (::fstat(fd->get(), &info) != 0) return SystemFailure(path, errno);
  if (S_ISDIR(info.st_mode)) return SystemFailure(path, EISDIR);
  if (!S_ISREG(info.st_mode)) return Failure{path, "Not a regular file"};
  return std::make_unique<PosixFileReader>(std::move(*fd), std::move(path),
                                           info);
}

// Whether a folder's link count tells that it holds no folders: not known
// until asked, then the same for its subfolders on the same device.
enum class LeafCounts : signed char { kUnknown, kNo, kYes };

// A folder held open as the boundary of a build's links.
struct PosixBoundary : ReadBoundary {
  explicit PosixBoundary(int fd) : folder(fd) {}
  FolderBoundary folder;
};

class PosixFolder : public FolderHandle {
 public:
  PosixFolder(UniqueFd fd, std::string path, FileId id, LeafCounts leafCounts)
      : fd_(std::move(fd)),
        path_(std::move(path)),
        id_(id),
        leafCounts_(leafCounts) {}

  const std::string& Path() const override { return path_; }
  FileId Id() const override { return id_; }

  // What a subfolder at `id` may take over of this folder's knowledge.
  LeafCounts LeafCountsFor(FileId id) const {
    return id.device == id_.device ? leafCounts_.load() : LeafCounts::kUnknown;
  }

  Outcome<void> List(const EntryVisitor& visit) override {
    // A folder is usually listed once: only a second listing rewinds.
    const bool rewound = !listed_ || ::lseek(fd_.get(), 0, SEEK_SET) == 0;
    listed_ = true;
    const int error = rewound ? ReadEntries(fd_.get(), visit) : errno;
    if (error != 0) return SystemFailure(path_, error);
    return {};
  }

  Outcome<std::unique_ptr<FolderHandle>> OpenSubfolder(
      const std::string& name) override;

  std::optional<FileId> LeafId(const std::string& name) override {
    if (leafCounts_ == LeafCounts::kUnknown) {
      leafCounts_ = CountsSubfoldersInLinks(fd_.get()) ? LeafCounts::kYes
                                                       : LeafCounts::kNo;
    }
    struct stat info;
    if (leafCounts_ == LeafCounts::kNo ||
        ::fstatat(fd_.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISDIR(info.st_mode) || info.st_nlink != 2 ||
        IdOf(info).device != id_.device) {
      return std::nullopt;
    }
    return IdOf(info);
  }

  std::shared_ptr<const ReadBoundary> Boundary() const override {
    return std::make_shared<PosixBoundary>(fd_.get());
  }

  Outcome<std::unique_ptr<FileReader>> OpenFile(
      const std::string& name, const ReadBoundary* within) override {
    std::string path = JoinPath(path_, name);
    auto opened = OpenWithin(name, kFileFlags, within, path);
    return AdoptFile(std::move(opened), std::move(path));
  }

  Outcome<FileFacts> Facts(const std::string& name,
                           const ReadBoundary* within) override {
    // The folder's own file, the common case, is told by one call; a link
    // has its chain followed as OpenWithin follows it, and a failure is
    // told by that too.
    struct stat info;
    const int noFollow = within == nullptr ? 0 : AT_SYMLINK_NOFOLLOW;
    if (::fstatat(fd_.get(), name.c_str(), &info, noFollow) == 0 &&
        !S_ISLNK(info.st_mode)) {
      return FactsOf(info);
    }
    const std::string path = JoinPath(path_, name);
    auto opened = OpenWithin(name, O_PATH | O_CLOEXEC, within, path);
    if (!opened) return std::move(opened).failure();
    if (::fstat(opened->get(), &info) != 0) return SystemFailure(path, errno);
    return FactsOf(info);
  }

 private:
  // Opens `name` with `flags`, following a link to the end of its chain:
  // anywhere without `within`, else only to a file inside it, so that
  // nothing of a file outside is read.
  Outcome<UniqueFd> OpenWithin(const std::string& name, int flags,
                               const ReadBoundary* within,
                               const std::string& path) const {
    if (within == nullptr) return OpenAt(fd_.get(), name, flags, path);
    // The folder's own file, the common case, lies inside as the folder
    // does; only a link needs its chain followed.
    auto own = OpenAt(fd_.get(), name, flags | O_NOFOLLOW, path);
    struct stat info;
    const bool link =
        own ? (flags & O_PATH) != 0 && ::fstat(own->get(), &info) == 0 &&
                  S_ISLNK(info.st_mode)
            : own.failure().error == std::errc::too_many_symbolic_link_levels;
    if (!link) return own;
    bool outside = false;
    auto opened = OpenLinkedFile(
        fd_.get(), name, flags,
        static_cast<const PosixBoundary*>(within)->folder, path, outside);
    if (outside) return Failure(path, kLeadsOutsideReason);
    return opened;
  }

  const UniqueFd fd_;
  const std::string path_;
  const FileId id_;
  bool listed_ = false;  // by List, which has the folder to itself
  // Atomic, as a subfolder opened on another thread may read it while
  // LeafId finds it out.
  std::atomic<LeafCounts> leafCounts_;
};

// The folder just opened as `fd`, at `path`, a subfolder of `parent` or
// opened by its path.
Outcome<std::unique_ptr<FolderHandle>> AdoptFolder(
    Outcome<UniqueFd> fd, std::string path,
    const PosixFolder* parent = nullptr) {
  if (!fd) return std::move(fd).failure();
  struct stat info;
  if (::fstat(fd->get(), &info) != 0) return SystemFailure(path, errno);
  const FileId id = IdOf(info);
  return std::make_unique<PosixFolder>(
      std::move(*fd), std::move(path), id,
      parent != nullptr ? parent->LeafCountsFor(id) : LeafCounts::kUnknown);
}

Outcome<std::unique_ptr<FolderHandle>> PosixFolder::OpenSubfolder(
    const std::string& name) {
  std::string path = JoinPath(path_, name);
  auto opened = OpenAt(fd_.get(), name, kFolderFlags | O_NOFOLLOW, path);
  return AdoptFolder(std::move(opened), std::move(path), this);
}

}  // namespace

Outcome<std::unique_ptr<FolderHandle>> PosixFileSystem::OpenFolder(
    const std::string& path) const {
  return AdoptFolder(OpenAt(AT_FDCWD, path, kFolderFlags, path), path);
}

Outcome<std::unique_ptr<FolderHandle>> PosixFileSystem::Reopen(
    const std::string& path, FileId id) const {
  auto folder = OpenFolder(path);
  if (folder && (*folder)->Id() != id) return Failure{path, kReplacedReason};
  return folder;
}

Outcome<std::unique_ptr<FileReader>> PosixFileSystem::OpenFile(
    const std::string& path) const {
  return AdoptFile(OpenAt(AT_FDCWD, path, kFileFlags, path), path);
}

Outcome<std::unique_ptr<OutputFolder>> PosixFileSystem::OpenOutputFolder(
    const std::string& path) const {
  return OpenPosixOutputFolder(path);
}

Outcome<std::unique_ptr<OutputFolder>> PosixFileSystem::OpenOutputFolderBelow(
    const std::string& base, const std::string& below) const {
  return OpenPosixOutputFolderBelow(base, below);
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
