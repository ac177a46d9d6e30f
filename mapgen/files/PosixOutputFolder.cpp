#include "PosixOutputFolder.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include "LongPath.h"
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

OutputEntry EntryOf(const struct stat& info) {
  OutputEntry entry;
  entry.kind = S_ISDIR(info.st_mode)   ? OutputEntry::Kind::kFolder
               : S_ISREG(info.st_mode) ? OutputEntry::Kind::kFile
                                       : OutputEntry::Kind::kOther;
  entry.id = {static_cast<std::uint64_t>(info.st_dev),
              static_cast<std::uint64_t>(info.st_ino)};
  entry.mode = info.st_mode & 07777;
  entry.owner = info.st_uid;
  entry.group = info.st_gid;
  return entry;
}

// A file open for writing; a temporary one stays registered for the
// signal handlers while this lives.
class PosixOutputFile : public OutputFile {
 public:
  PosixOutputFile(int fd, std::string folderPath, std::string name, bool stream,
                  int folderFd)
      : fd_(fd),
        path_(JoinPath(folderPath, name)),
        name_(std::move(name)),
        stream_(stream) {
    if (!stream) record_.emplace(folderFd, name_);
  }
  ~PosixOutputFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  PosixOutputFile(const PosixOutputFile&) = delete;
  PosixOutputFile& operator=(const PosixOutputFile&) = delete;

  const std::string& Name() const override { return name_; }

  bool Write(std::string_view bytes, Failure& failure) override {
    if (!WriteAll(fd_, bytes, path_, failure)) return false;
    written_ += bytes.size();
    // The disk starts on what is written while the build goes on, so the
    // closing sync waits only for the last of it.
    if (!stream_ && written_ - synced_ >= kSyncStep) {
      ::sync_file_range(fd_, static_cast<off_t>(synced_),
                        static_cast<off_t>(written_ - synced_),
                        SYNC_FILE_RANGE_WRITE);
      synced_ = written_;
    }
    return true;
  }

  bool KeepOwnerAndMode(const OutputEntry& old, Failure& failure) override {
    if (::fchown(fd_, old.owner, old.group) != 0) {
      [[maybe_unused]] const int ignored = ::fchown(fd_, -1, old.group);
    }
    return ::fchmod(fd_, old.mode) == 0 || Fail(failure);
  }

  bool Finish(Failure& failure) override {
    const bool synced = stream_ || ::fsync(fd_) == 0 || Fail(failure);
    const bool closed = ::close(std::exchange(fd_, -1)) == 0;
    return synced && (closed || Fail(failure));
  }

 private:
  bool Fail(Failure& failure) const {
    failure = SystemFailure(path_, errno);
    return false;
  }

  static constexpr std::size_t kSyncStep = 1 << 20;

  int fd_;
  std::string path_;
  std::string name_;
  bool stream_;
  std::size_t written_ = 0, synced_ = 0;
  std::optional<TemporaryFileRecord> record_;
};

class PosixOutputFolder : public OutputFolder {
 public:
  PosixOutputFolder(int fd, std::string path)
      : fd_(fd), path_(std::move(path)) {}
  ~PosixOutputFolder() override { ::close(fd_); }
  PosixOutputFolder(const PosixOutputFolder&) = delete;
  PosixOutputFolder& operator=(const PosixOutputFolder&) = delete;

  const std::string& Path() const override { return path_; }

  bool Inspect(const std::string& name, bool follow, OutputEntry& entry,
               Failure& failure) const override {
    struct stat info;
    if (::fstatat(fd_, name.c_str(), &info, follow ? 0 : AT_SYMLINK_NOFOLLOW) ==
        0) {
      entry = EntryOf(info);
      return true;
    }
    entry = {};
    if (errno == ENOENT) return true;
    return Fail(name, failure);
  }

  bool MayWrite(const std::string& name, Failure& failure) const override {
    return ::faccessat(fd_, name.c_str(), W_OK, 0) == 0 || Fail(name, failure);
  }

  std::unique_ptr<OutputFile> OpenStream(const std::string& name,
                                         Failure& failure) override {
    // O_NONBLOCK: a pipe that nobody reads fails the open at once instead
    // of waiting for a reader that may never come.
    const int fd = ::openat(fd_, name.c_str(),
                            O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat opened;
    if (fd < 0 || ::fstat(fd, &opened) != 0) {
      const int error = errno;
      if (fd >= 0) ::close(fd);
      failure = SystemFailure(JoinPath(path_, name), error);
      if (error == ENXIO && IsPipe(name)) {
        failure.reason += " (nothing reads from the pipe)";
      }
      return nullptr;
    }
    failure = {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (S_ISREG(opened.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
      if (!S_ISREG(opened.st_mode)) Fail(name, failure);
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixOutputFile>(fd, path_, name, true, fd_);
  }

  std::unique_ptr<OutputFile> CreateTemporary(Failure& failure) override {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = TemporaryName();
      const int fd = ::openat(
          fd_, name.c_str(),
          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
          0666);
      if (fd >= 0) {
        return std::make_unique<PosixOutputFile>(fd, path_, std::move(name),
                                                 false, fd_);
      }
      if (errno != EEXIST) break;
    }
    failure = {path_,
               "cannot create a file in " + path_ + ": " +
                   SystemFailure(path_, errno).reason,
               errno};
    return nullptr;
  }

  bool Rename(const std::string& from, const std::string& to,
              Failure& failure) override {
    return ::renameat(fd_, from.c_str(), fd_, to.c_str()) == 0 ||
           Fail(to, failure);
  }

  bool Remove(const std::string& name, Failure& failure) override {
    return ::unlinkat(fd_, name.c_str(), 0) == 0 || Fail(name, failure);
  }

 private:
  bool Fail(const std::string& name, Failure& failure) const {
    failure = SystemFailure(JoinPath(path_, name), errno);
    return false;
  }

  bool IsPipe(const std::string& name) const {
    struct stat info;
    return ::fstatat(fd_, name.c_str(), &info, 0) == 0 &&
           S_ISFIFO(info.st_mode);
  }

  int fd_;
  std::string path_;
};

}  // namespace

std::unique_ptr<OutputFolder> OpenPosixOutputFolder(const std::string& path,
                                                    Failure& failure) {
  const int fd = OpenLongPath(path, O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    failure = SystemFailure(path, errno);
    return nullptr;
  }
  return std::make_unique<PosixOutputFolder>(fd, path);
}

}  // namespace mapgen
