#include "PosixOutputFolder.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <utility>

#include "OpenAt.h"
#include "Paths.h"
#include "TemporaryFileRecord.h"
#include "WriteAll.h"

namespace mapgen {
namespace {

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

using Kind = OutputEntry::Kind;

Kind KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return Kind::kFolder;
  if (S_ISREG(mode)) return Kind::kFile;
  if (S_ISFIFO(mode) || S_ISCHR(mode)) return Kind::kStream;
  if (S_ISBLK(mode)) return Kind::kBlockDevice;
  return Kind::kOther;
}

FileId IdOf(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev),
          static_cast<std::uint64_t>(info.st_ino)};
}

OutputEntry EntryOf(const struct stat& info) {
  OutputEntry entry;
  entry.kind = KindOf(info.st_mode);
  entry.id = IdOf(info);
  entry.mode = info.st_mode & 07777;
  entry.owner = info.st_uid;
  entry.group = info.st_gid;
  return entry;
}

using SharedFd = std::shared_ptr<const UniqueFd>;

// The process's umask, read without changing it (umask(2) can only set
// it, which would race with other threads creating files); 022 where the
// system does not tell.
mode_t ProcessUmask() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("Umask:")) {
      return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    }
  }
  return 022;
}

// The owner and group of `old`, as far as the process may give them: the
// owner only root may give, the group only its members. What cannot be
// given stays the writer's own, as it would on a copy, which is no failure.
void KeepOwner(int fd, const OutputEntry& old) {
  if (::fchown(fd, old.owner, old.group) == 0) return;
  if (::fchown(fd, static_cast<uid_t>(-1), old.group) == 0) return;
}

// A file open for writing in a folder, a stream or a temporary file. The
// object is made before the file is created, so that whatever happens
// next the file goes when the object does, unless it replaced another; it
// also stays registered for the signal handlers until then.
class PosixOutputFile : public OutputFile {
 public:
  PosixOutputFile(SharedFd folder, const std::string& folderPath,
                  std::string name, bool stream)
      : folder_(std::move(folder)),
        folderPath_(folderPath),
        path_(JoinPath(folderPath, name)),
        name_(std::move(name)),
        stream_(stream) {}
  ~PosixOutputFile() override {
    if (record_) ::unlinkat(folder_->get(), name_.c_str(), 0);
  }
  PosixOutputFile(const PosixOutputFile&) = delete;
  PosixOutputFile& operator=(const PosixOutputFile&) = delete;

  // Opens the stream at the name, or, for a temporary file, creates it.
  Outcome<void> Open(int flags, mode_t mode) {
    auto fd = OpenAt(folder_->get(), name_, flags, path_, mode);
    if (!fd) return std::move(fd).failure();
    fd_ = std::move(*fd);
    if (!stream_) record_.emplace(folder_->get(), name_);
    return {};
  }

  int fd() const { return fd_.get(); }
  const std::string& Name() const override { return name_; }

  Outcome<void> Write(std::string_view bytes) override {
    if (auto written = WriteAll(fd_.get(), bytes, path_); !written) {
      return written;
    }
    written_ += bytes.size();
    // The disk starts on what is written while the build goes on, so the
    // closing sync waits only for the last of it.
    if (!stream_ && written_ - synced_ >= kSyncStep) {
      ::sync_file_range(fd_.get(), static_cast<off_t>(synced_),
                        static_cast<off_t>(written_ - synced_),
                        SYNC_FILE_RANGE_WRITE);
      synced_ = written_;
    }
    return {};
  }

  // The permission bits alone: a page has no use for set-user-ID and
  // the like, whatever the file it replaces had.
  Outcome<void> KeepOwnerAndMode(const OutputEntry& old) override {
    KeepOwner(fd_.get(), old);
    if (::fchmod(fd_.get(), old.mode & 0777) != 0) return Failed(path_);
    return {};
  }

  Outcome<void> TakeNewFileMode() override {
    if (::fchmod(fd_.get(), 0666 & ~ProcessUmask()) != 0) return Failed(path_);
    return {};
  }

  Outcome<void> Finish() override {
    if (!stream_ && ::fsync(fd_.get()) != 0) return Failed(path_);
    if (!fd_.Close()) return Failed(path_);
    return {};
  }

  Outcome<void> Replace(const std::string& name) override {
    if (::renameat(folder_->get(), name_.c_str(), folder_->get(),
                   name.c_str()) != 0) {
      return Failed(JoinPath(folderPath_, name));
    }
    record_.reset();
    name_ = name;
    return {};
  }

 private:
  static Failure Failed(std::string path) {
    return SystemFailure(std::move(path), errno);
  }

  static constexpr std::size_t kSyncStep = 1 << 20;

  const SharedFd folder_;
  const std::string folderPath_;
  const std::string path_;
  std::string name_;
  const bool stream_;
  UniqueFd fd_;
  std::size_t written_ = 0, synced_ = 0;
  // While a temporary file of this object's stands at `name_`.
  std::optional<TemporaryFileRecord> record_;
};

class PosixOutputFolder : public OutputFolder {
 public:
  PosixOutputFolder(UniqueFd fd, std::string path, FileId id)
      : fd_(std::make_shared<const UniqueFd>(std::move(fd))),
        path_(std::move(path)),
        id_(id) {}

  const std::string& Path() const override { return path_; }
  FileId Id() const override { return id_; }

  Outcome<OutputEntry> Inspect(const std::string& name,
                               bool follow) const override {
    struct stat info;
    if (::fstatat(fd_->get(), name.c_str(), &info,
                  follow ? 0 : AT_SYMLINK_NOFOLLOW) == 0) {
      return EntryOf(info);
    }
    if (errno == ENOENT) return OutputEntry{};
    return Failed(name);
  }

  Outcome<void> MayWrite(const std::string& name) const override {
    if (::faccessat(fd_->get(), name.c_str(), W_OK, 0) != 0) {
      return Failed(name);
    }
    return {};
  }

  Outcome<std::unique_ptr<OutputFile>> OpenStream(
      const std::string& name) override {
    auto stream = std::make_unique<PosixOutputFile>(fd_, path_, name, true);
    // O_NONBLOCK: a pipe that nobody reads fails the open at once instead
    // of waiting for a reader that may never come. O_NOFOLLOW: a link put
    // there since the name was looked at is not followed.
    if (auto opened = stream->Open(
            O_WRONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC, 0);
        !opened) {
      Failure failure = std::move(opened).failure();
      if (IsSystemError(failure, ENXIO) && IsPipe(name)) {
        failure.reason += " (nothing reads from the pipe)";
      }
      return failure;
    }
    struct stat opened;
    if (::fstat(stream->fd(), &opened) != 0) return Failed(name);
    if (S_ISREG(opened.st_mode)) return std::unique_ptr<OutputFile>();
    const int flags = ::fcntl(stream->fd(), F_GETFL);
    if (flags < 0 || ::fcntl(stream->fd(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
      return Failed(name);
    }
    return std::unique_ptr<OutputFile>(std::move(stream));
  }

  Outcome<std::unique_ptr<OutputFile>> CreateTemporary(
      std::uint32_t mode) override {
    Failure failure;
    for (int attempt = 0; attempt < 100; ++attempt) {
      auto file =
          std::make_unique<PosixOutputFile>(fd_, path_, TemporaryName(), false);
      auto created = file->Open(
          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
          mode & 0777);
      if (created) return std::unique_ptr<OutputFile>(std::move(file));
      failure = std::move(created).failure();
      if (!IsSystemError(failure, EEXIST)) break;
    }
    return Failure{path_,
                   "cannot create a file in " + path_ + ": " + failure.reason,
                   failure.error};
  }

  Outcome<void> Remove(const std::string& name) override {
    if (::unlinkat(fd_->get(), name.c_str(), 0) != 0) return Failed(name);
    return {};
  }

 private:
  Failure Failed(const std::string& name) const {
    return SystemFailure(JoinPath(path_, name), errno);
  }

  bool IsPipe(const std::string& name) const {
    struct stat info;
    return ::fstatat(fd_->get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) ==
               0 &&
           S_ISFIFO(info.st_mode);
  }

  // Shared with the files it opened, which may outlive it.
  const SharedFd fd_;
  const std::string path_;
  const FileId id_;
};

// The folder just opened as `fd`, known as `path`.
Outcome<std::unique_ptr<OutputFolder>> AdoptOutputFolder(
    Outcome<UniqueFd> fd, const std::string& path) {
  if (!fd) return std::move(fd).failure();
  struct stat info;
  if (::fstat(fd->get(), &info) != 0) return SystemFailure(path, errno);
  return std::unique_ptr<OutputFolder>(
      std::make_unique<PosixOutputFolder>(std::move(*fd), path, IdOf(info)));
}

}  // namespace

Outcome<std::unique_ptr<OutputFolder>> OpenPosixOutputFolder(
    const std::string& path) {
  return AdoptOutputFolder(
      OpenAt(AT_FDCWD, path, O_PATH | O_DIRECTORY | O_CLOEXEC, path), path);
}

Outcome<std::unique_ptr<OutputFolder>> OpenPosixOutputFolderBelow(
    const std::string& base, const std::string& below) {
  constexpr int kFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
  std::string path = base;
  auto folder = OpenAt(AT_FDCWD, base, kFlags, path);
  for (std::string_view rest = below; folder && !rest.empty();) {
    const std::size_t slash = rest.find('/');
    const std::string name(rest.substr(0, slash));
    rest = slash == std::string_view::npos ? std::string_view()
                                           : rest.substr(slash + 1);
    if (name.empty() || name == ".") continue;
    path = JoinPath(path, name);
    folder = OpenAt(folder->get(), name, kFlags | O_NOFOLLOW, path);
  }
  return AdoptOutputFolder(std::move(folder), path);
}

}  // namespace mapgen
