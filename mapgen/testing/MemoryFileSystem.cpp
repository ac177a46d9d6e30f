#include "MemoryFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "Paths.h"
#include "TemporaryFileRecord.h"

namespace mapgen {
namespace {

class StringReader : public FileReader {
 public:
  StringReader(std::string content, FileId id, std::time_t modified)
      : content_(std::move(content)),
        rest_(content_),
        id_(id),
        facts_{content_.size(), modified, {}} {}
  Outcome<std::size_t> Read(char* buffer, std::size_t size) override {
    const std::size_t got = std::min(size, rest_.size());
    std::memcpy(buffer, rest_.data(), got);
    rest_.remove_prefix(got);
    return got;
  }
  FileId Id() const override { return id_; }
  bool HasOtherNames() const override { return false; }
  std::optional<FileFacts> Facts() const override { return facts_; }

 private:
  const std::string content_;
  std::string_view rest_;
  FileId id_;
  FileFacts facts_;
};

}  // namespace

class MemoryFileSystem::Folder : public FolderHandle {
 public:
  Folder(const MemoryFileSystem& fs, std::string path, std::uint64_t inode)
      : fs_(fs), path_(std::move(path)), inode_(inode) {}

  const std::string& Path() const override { return path_; }
  FileId Id() const override { return {0, inode_}; }

  Outcome<void> List(const EntryVisitor& visit) override {
    for (const auto& [name, kind] : fs_.Listing(path_)) visit(name, kind);
    return {};
  }

  Outcome<std::unique_ptr<FolderHandle>> OpenSubfolder(
      const std::string& name) override {
    return fs_.OpenFolder(JoinPath(path_, name));
  }

  // Its entries are no links, and lie within any boundary.
  Outcome<std::unique_ptr<FileReader>> OpenFile(
      const std::string& name, const ReadBoundary* /*within*/) override {
    return fs_.OpenFile(JoinPath(path_, name));
  }

  Outcome<FileFacts> Facts(const std::string& name,
                           const ReadBoundary* /*within*/) override {
    const std::lock_guard lock(*fs_.mutex_);
    const auto node = fs_.Find(JoinPath(path_, name), EntryKind::kFile);
    if (!node) return node.failure();
    return FileFacts{(*node)->content.size(), (*node)->modified, {}};
  }

 private:
  const MemoryFileSystem& fs_;
  const std::string path_;
  const std::uint64_t inode_;
};

// A temporary file, which becomes a file of the folder when it replaces
// one, and goes when it goes unless it did.
class MemoryFileSystem::MemoryOutputFile : public OutputFile {
 public:
  MemoryOutputFile(const MemoryFileSystem& fs, std::string folder,
                   std::string name)
      : fs_(fs), folder_(std::move(folder)), name_(std::move(name)) {}
  ~MemoryOutputFile() override {
    if (placed_) return;
    const std::lock_guard lock(*fs_.mutex_);
    fs_.Take(JoinPath(folder_, name_));
  }

  const std::string& Name() const override { return name_; }

  Outcome<void> Write(std::string_view bytes) override {
    const std::lock_guard lock(*fs_.mutex_);
    const auto node = fs_.Find(JoinPath(folder_, name_), EntryKind::kFile);
    if (!node) return node.failure();
    (*node)->content += bytes;
    return {};
  }
  Outcome<void> KeepOwnerAndMode(const OutputEntry& old) override {
    const std::lock_guard lock(*fs_.mutex_);
    const auto node = fs_.Find(JoinPath(folder_, name_), EntryKind::kFile);
    if (!node) return node.failure();
    (*node)->mode = old.mode;
    return {};
  }
  Outcome<void> TakeNewFileMode() override {
    OutputEntry fresh;
    fresh.mode = 0644;
    return KeepOwnerAndMode(fresh);
  }
  Outcome<void> Finish() override { return {}; }

  Outcome<void> Replace(const std::string& name) override {
    const std::lock_guard lock(*fs_.mutex_);
    const std::string from = JoinPath(folder_, name_);
    const std::string to = JoinPath(folder_, name);
    const auto node = fs_.Find(from, EntryKind::kFile);
    if (!node) return node.failure();
    Node moved = std::move(**node);
    fs_.Take(from);
    fs_.Take(to);
    fs_.Add(to, EntryKind::kFile) = std::move(moved);
    fs_.written_.push_back(to);
    name_ = name;
    placed_ = true;
    return {};
  }

 private:
  const MemoryFileSystem& fs_;
  const std::string folder_;
  std::string name_;
  bool placed_ = false;
};

class MemoryFileSystem::MemoryOutputFolder : public OutputFolder {
 public:
  MemoryOutputFolder(const MemoryFileSystem& fs, std::string path,
                     std::uint64_t inode)
      : fs_(fs), path_(std::move(path)), inode_(inode) {}

  const std::string& Path() const override { return path_; }
  FileId Id() const override { return {0, inode_}; }

  Outcome<OutputEntry> Inspect(const std::string& name,
                               bool /*follow*/) const override {
    const std::lock_guard lock(*fs_.mutex_);
    const auto node = fs_.nodes_.find(JoinPath(path_, name));
    if (node == fs_.nodes_.end()) return OutputEntry{};
    OutputEntry entry;
    entry.kind =
        node->second.kind == EntryKind::kFolder ? OutputEntry::Kind::kFolder
        : node->second.kind == EntryKind::kFile ? OutputEntry::Kind::kFile
                                                : OutputEntry::Kind::kOther;
    entry.id = {0, node->second.inode};
    entry.mode = node->second.mode;
    return entry;
  }

  Outcome<void> MayWrite(const std::string&) const override { return {}; }

  Outcome<std::unique_ptr<OutputFile>> OpenStream(
      const std::string& name) override {
    return SystemFailure(JoinPath(path_, name), ENXIO);
  }

  Outcome<std::unique_ptr<OutputFile>> CreateTemporary(
      std::uint32_t mode) override {
    const std::lock_guard lock(*fs_.mutex_);
    std::string name = std::string(kTemporaryPrefix) +
                       std::to_string(fs_.lastInode_ + 1) + ".tmp";
    auto file = std::make_unique<MemoryOutputFile>(fs_, path_, name);
    fs_.Add(JoinPath(path_, name), EntryKind::kFile).mode = mode;
    return std::unique_ptr<OutputFile>(std::move(file));
  }

  Outcome<void> Remove(const std::string& name) override {
    const std::lock_guard lock(*fs_.mutex_);
    const std::string path = JoinPath(path_, name);
    if (auto node = fs_.Find(path, EntryKind::kFile); !node) {
      return node.failure();
    }
    fs_.Take(path);
    fs_.removed_.push_back(path);
    return {};
  }

 private:
  const MemoryFileSystem& fs_;
  const std::string path_;
  const std::uint64_t inode_;
};

MemoryFileSystem::Node& MemoryFileSystem::Add(const std::string& path,
                                              EntryKind kind) const {
  const auto [node, added] = nodes_.try_emplace(path);
  if (added) {
    node->second.inode = ++lastInode_;
    if (path != "/") {
      Node& parent = Add(ParentFolder(path), EntryKind::kFolder);
      parent.entries.emplace_back(LastName(path), kind);
    }
  }
  node->second.kind = kind;
  return node->second;
}

void MemoryFileSystem::Take(const std::string& path) const {
  if (nodes_.erase(path) == 0) return;
  const auto parent = nodes_.find(ParentFolder(path));
  if (parent == nodes_.end()) return;
  std::erase_if(parent->second.entries, [&](const auto& entry) {
    return entry.first == LastName(path);
  });
}

void MemoryFileSystem::AddFolder(const std::string& path) {
  const std::lock_guard lock(*mutex_);
  Add(path, EntryKind::kFolder);
}

void MemoryFileSystem::AddFile(const std::string& path, std::string content,
                               std::time_t modified) {
  const std::lock_guard lock(*mutex_);
  Node& node = Add(path, EntryKind::kFile);
  node.content = std::move(content);
  node.modified = modified;
}

void MemoryFileSystem::AddOther(const std::string& path, EntryKind kind) {
  const std::lock_guard lock(*mutex_);
  Add(path, kind);
}

std::optional<std::string> MemoryFileSystem::Content(
    const std::string& path) const {
  const std::lock_guard lock(*mutex_);
  const auto node = Find(path, EntryKind::kFile);
  if (!node) return std::nullopt;
  return (*node)->content;
}

std::vector<std::string> MemoryFileSystem::Names(
    const std::string& path) const {
  std::vector<std::string> names;
  const std::lock_guard lock(*mutex_);
  const auto node = nodes_.find(path);
  if (node == nodes_.end()) return names;
  for (const auto& [name, kind] : node->second.entries) names.push_back(name);
  return names;
}

std::vector<std::string> MemoryFileSystem::Opened() const {
  const std::lock_guard lock(*mutex_);
  return opened_;
}

std::vector<std::string> MemoryFileSystem::Written() const {
  const std::lock_guard lock(*mutex_);
  return written_;
}

std::vector<std::string> MemoryFileSystem::Removed() const {
  const std::lock_guard lock(*mutex_);
  return removed_;
}

std::vector<std::pair<std::string, EntryKind>> MemoryFileSystem::Listing(
    const std::string& path) const {
  const std::lock_guard lock(*mutex_);
  auto entries = nodes_.at(path).entries;
  if (shuffleSeed_) {
    std::shuffle(entries.begin(), entries.end(),
                 std::minstd_rand(*shuffleSeed_ + listings_++));
  }
  return entries;
}

Outcome<MemoryFileSystem::Node*> MemoryFileSystem::Find(const std::string& path,
                                                        EntryKind kind) const {
  const auto node = nodes_.find(path);
  if (node == nodes_.end()) return SystemFailure(path, ENOENT);
  const EntryKind found = node->second.kind;
  if (found == kind) return &node->second;
  if (kind == EntryKind::kFolder) return SystemFailure(path, ENOTDIR);
  if (found == EntryKind::kFolder) return SystemFailure(path, EISDIR);
  return SystemFailure(path, ENXIO);
}

Outcome<std::unique_ptr<FolderHandle>> MemoryFileSystem::OpenFolder(
    const std::string& path) const {
  const std::lock_guard lock(*mutex_);
  const auto node = Find(path, EntryKind::kFolder);
  if (!node) return node.failure();
  return std::unique_ptr<FolderHandle>(
      std::make_unique<Folder>(*this, path, (*node)->inode));
}

Outcome<std::unique_ptr<FolderHandle>> MemoryFileSystem::Reopen(
    const std::string& path, FileId id) const {
  auto folder = OpenFolder(path);
  if (folder && (*folder)->Id() != id) return Failure{path, kReplacedReason};
  return folder;
}

Outcome<std::unique_ptr<FileReader>> MemoryFileSystem::OpenFile(
    const std::string& path) const {
  const std::lock_guard lock(*mutex_);
  const auto node = Find(path, EntryKind::kFile);
  if (!node) return node.failure();
  opened_.push_back(path);
  return std::unique_ptr<FileReader>(std::make_unique<StringReader>(
      (*node)->content, FileId{0, (*node)->inode}, (*node)->modified));
}

Outcome<std::unique_ptr<OutputFolder>> MemoryFileSystem::OpenOutputFolder(
    const std::string& path) const {
  const std::lock_guard lock(*mutex_);
  const auto node = Find(path, EntryKind::kFolder);
  if (!node) return node.failure();
  return std::unique_ptr<OutputFolder>(
      std::make_unique<MemoryOutputFolder>(*this, path, (*node)->inode));
}

}  // namespace mapgen
