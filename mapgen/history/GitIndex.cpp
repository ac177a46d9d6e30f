#include "GitIndex.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>

#include "OpenAt.h"

namespace mapgen {
namespace {

// The index's layout, as git documents it in gitformat-index(5).
constexpr std::string_view kSignature = "DIRC";
constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kStatSize = 40;  // ten 32-bit fields before the id
constexpr std::uint16_t kAssumeValid = 0x8000;
constexpr std::uint16_t kExtended = 0x4000;
constexpr std::uint16_t kStageMask = 0x3000;
constexpr std::uint16_t kNameLengthMask = 0x0FFF;
constexpr std::uint16_t kSkipWorktree = 0x4000;
constexpr std::uint16_t kIntentToAdd = 0x2000;

// Reads the index's big-endian fields front to back; past the end, it
// fails rather than reads.
class IndexBytes {
 public:
  explicit IndexBytes(std::string_view bytes) : bytes_(bytes) {}

  bool Has(std::size_t count) const { return bytes_.size() - at_ >= count; }
  std::size_t At() const { return at_; }
  void Skip(std::size_t count) { at_ += count; }

  std::uint32_t Word(std::size_t offset) const {
    const auto* p =
        reinterpret_cast<const unsigned char*>(bytes_.data() + at_ + offset);
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 |
           std::uint32_t{p[2]} << 8 | p[3];
  }
  std::uint16_t Half(std::size_t offset) const {
    const auto* p =
        reinterpret_cast<const unsigned char*>(bytes_.data() + at_ + offset);
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
  }
  std::string_view Bytes(std::size_t offset, std::size_t count) const {
    return bytes_.substr(at_ + offset, count);
  }
  // The text from `offset` to the next NUL, when there is one.
  std::optional<std::string_view> Text(std::size_t offset) const {
    const std::size_t end = bytes_.find('\0', at_ + offset);
    if (end == std::string_view::npos) return std::nullopt;
    return bytes_.substr(at_ + offset, end - at_ - offset);
  }
  // A number as version 4 writes how much of the last name to drop.
  std::optional<std::size_t> Number() {
    if (!Has(1)) return std::nullopt;
    auto next = [&] { return static_cast<unsigned char>(bytes_[at_++]); };
    unsigned char c = next();
    std::size_t value = c & 0x7F;
    while ((c & 0x80) != 0) {
      if (!Has(1) || value > (SIZE_MAX >> 8)) return std::nullopt;
      c = next();
      value = ((value + 1) << 7) | (c & 0x7F);
    }
    return value;
  }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

struct IndexFile {
  std::string bytes;
  IndexRead read;
};

// The bytes and the time of one and the same file: git replaces its index
// by renaming a new one over it, so a time asked apart may be another's.
Outcome<IndexFile> LoadIndex(const std::string& path) {
  auto fd = OpenAt(AT_FDCWD, path, O_RDONLY | O_CLOEXEC, path);
  if (!fd) return std::move(fd).failure();
  struct stat info {};
  if (::fstat(fd->get(), &info) != 0) return SystemFailure(path, errno);
  IndexFile file;
  file.read.seconds = info.st_mtim.tv_sec;
  file.read.nanoseconds = static_cast<std::uint32_t>(info.st_mtim.tv_nsec);
  file.bytes.resize(static_cast<std::size_t>(info.st_size));
  std::size_t got = 0;
  while (got < file.bytes.size()) {
    const ssize_t part =
        ::read(fd->get(), file.bytes.data() + got, file.bytes.size() - got);
    if (part < 0 && errno == EINTR) continue;
    if (part < 0) return SystemFailure(path, errno);
    if (part == 0) break;
    got += static_cast<std::size_t>(part);
  }
  file.bytes.resize(got);
  return file;
}

Failure Unknown(const std::string& path, const std::string& what) {
  return Failure{path, "an index " + what + " is read by git alone"};
}

// Reads the entries, each handed to `take` with its full name.
Outcome<void> ReadEntries(IndexBytes& in, const std::string& path,
                          std::size_t idSize, std::uint32_t version,
                          std::uint32_t count,
                          const std::function<void(const IndexEntry&)>& take) {
  const Failure cut{path, "the index ends too soon"};
  std::string name;  // version 4 names each entry from the one before
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t start = in.At();
    if (!in.Has(kStatSize + idSize + 2)) return cut;
    IndexEntry entry;
    entry.stamp = {.modifiedSeconds = in.Word(8),
                   .changedSeconds = in.Word(0),
                   .modifiedNanoseconds = in.Word(12),
                   .changedNanoseconds = in.Word(4),
                   .inode = in.Word(20),
                   .mode = in.Word(24),
                   .user = in.Word(28),
                   .group = in.Word(32)};
    entry.mode = entry.stamp.mode;
    entry.size = in.Word(36);
    entry.id = in.Bytes(kStatSize, idSize);
    const std::uint16_t flags = in.Half(kStatSize + idSize);
    in.Skip(kStatSize + idSize + 2);
    std::uint16_t more = 0;
    if ((flags & kExtended) != 0) {
      if (version < 3 || !in.Has(2)) return cut;
      more = in.Half(0);
      in.Skip(2);
    }
    entry.taken = (flags & kAssumeValid) != 0 || (more & kSkipWorktree) != 0;
    entry.unsettled = (flags & kStageMask) != 0 || (more & kIntentToAdd) != 0;
    if (version == 4) {
      const std::optional<std::size_t> dropped = in.Number();
      if (!dropped || *dropped > name.size()) return cut;
      name.resize(name.size() - *dropped);
    } else {
      name.clear();
    }
    const std::optional<std::string_view> rest = in.Text(0);
    if (!rest) return cut;
    name += *rest;
    in.Skip(rest->size() + 1);
    // Before version 4, an entry is padded with NULs to a multiple of
    // eight bytes, at least one of them ending its name.
    if (version < 4) {
      const std::size_t used = in.At() - start;
      const std::size_t padded = (in.At() - start - 1 + 8) & ~std::size_t{7};
      if (!in.Has(padded - used)) return cut;
      in.Skip(padded - used);
    }
    // Each entry gives its name's length, up to what the field holds.
    if ((flags & kNameLengthMask) !=
        std::min<std::size_t>(name.size(), kNameLengthMask)) {
      return cut;
    }
    entry.name = name;
    take(entry);
  }
  return {};
}

// The id of the whole tree in a cache tree extension, whose first entry is
// the top: an empty path, the count of entries it covers (-1 when it is
// no longer valid) and of subtrees, then the id.
std::string TopTree(std::string_view extension, std::size_t idSize) {
  if (!extension.starts_with('\0')) return {};
  const std::size_t end = extension.find('\n');
  if (end == std::string_view::npos || extension[1] == '-' ||
      extension.size() - end - 1 < idSize) {
    return {};
  }
  return std::string(extension.substr(end + 1, idSize));
}

// Reads the extensions after the entries: the cache tree's top; those
// whose signature starts with a capital letter may be left unread, the
// others change what the entries mean (a split or sparse index).
Outcome<void> ReadExtensions(IndexBytes& in, const std::string& path,
                             std::size_t idSize, IndexRead& read) {
  while (in.Has(idSize + 8)) {
    const std::string_view signature = in.Bytes(0, 4);
    const std::uint32_t size = in.Word(4);
    if (signature[0] < 'A' || signature[0] > 'Z') {
      return Unknown(path, "with the extension " + std::string(signature));
    }
    in.Skip(8);
    if (!in.Has(size)) return Failure{path, "the index ends too soon"};
    if (signature == "TREE") read.tree = TopTree(in.Bytes(0, size), idSize);
    in.Skip(size);
  }
  return {};
}

}  // namespace

std::string HexadecimalId(std::string_view id) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const char c : id) {
    hex += kDigits[static_cast<unsigned char>(c) >> 4];
    hex += kDigits[static_cast<unsigned char>(c) & 15];
  }
  return hex;
}

Outcome<IndexRead> ReadGitIndex(
    const std::string& path, std::size_t idSize,
    const std::function<void(std::size_t entries, std::size_t bytes)>& expect,
    const std::function<void(const IndexEntry&)>& take) {
  auto file = LoadIndex(path);
  if (!file) return std::move(file).failure();
  IndexBytes in(file->bytes);
  if (!in.Has(kHeaderSize) || in.Bytes(0, 4) != kSignature) {
    return Failure{path, "not a git index"};
  }
  const std::uint32_t version = in.Word(4);
  const std::uint32_t count = in.Word(8);
  if (version < 2 || version > 4) {
    return Unknown(path, "of version " + std::to_string(version));
  }
  in.Skip(kHeaderSize);
  expect(count, file->bytes.size());
  auto read = ReadEntries(in, path, idSize, version, count, take);
  if (read) read = ReadExtensions(in, path, idSize, file->read);
  if (!read) return std::move(read).failure();
  return std::move(file->read);
}

}  // namespace mapgen
