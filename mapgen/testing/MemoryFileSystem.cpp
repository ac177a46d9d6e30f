#include "MemoryFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "Paths.h"

namespace mapgen {
namespace {

class StringReader : public FileReader {
 public:
  StringReader(std::string_view content, FileId id, std::time_t modified)
      : rest_(content), id_(id), facts_{content.size(), modified} {}
  long Read(char* buffer, std::size_t size, Failure&) override {
    const std::size_t got = std::min(size, rest_.size());
    std::memcpy(buffer, rest_.data(), got);
    rest_.remove_prefix(got);
    return static_cast<long>(got);
  }
  FileId Id() const override { return id_; }
  bool HasOtherNames() const override { return false; }
  std::optional<FileFacts> Facts() const override { return facts_; }

 private:
  std::string_view rest_;
  FileId id_;
  FileFacts facts_;
};

}  // namespace

class MemoryFileSystem::Folder : public FolderHandle {
 public:
  Folder(const MemoryFileSystem& fs, std::string path, const Node& node)
      : fs_(fs), path_(std::move(path)), node_(node) {}

  const std::string& Path() const override { return path_; }
  FileId Id() const override { return {0, node_.inode}; }

  bool List(const EntryVisitor& visit, Failure&) override {
    for (const auto& [name, kind] : fs_.Listing(node_)) visit(name, kind);
    return true;
  }

  std::unique_ptr<FolderHandle> OpenSubfolder(const std::string& name,
                                              Failure& failure) override {
    return fs_.Open(JoinPath(path_, name), failure);
  }

  std::unique_ptr<FileReader> OpenFile(const std::string& name,
                                       Failure& failure) override {
    return fs_.OpenFile(JoinPath(path_, name), failure);
  }

  bool Facts(const std::string& name, FileFacts& facts,
             Failure& failure) override {
    const Node* node = fs_.Find(JoinPath(path_, name), failure);
    if (node != nullptr) facts = {node->content.size(), node->modified};
    return node != nullptr;
  }

 private:
  const MemoryFileSystem& fs_;
  const std::string path_;
  const Node& node_;
};

MemoryFileSystem::Node& MemoryFileSystem::Add(const std::string& path,
                                              bool folder) {
  const auto [node, added] = nodes_.try_emplace(path);
  if (added) {
    node->second.inode = nodes_.size();
    if (path != "/") {
      Node& parent = Add(ParentFolder(path), true);
      parent.entries.emplace_back(
          LastName(path), folder ? EntryKind::kFolder : EntryKind::kFile);
    }
  }
  node->second.folder = folder;
  return node->second;
}

void MemoryFileSystem::AddFolder(const std::string& path) { Add(path, true); }

void MemoryFileSystem::AddFile(const std::string& path, std::string content,
                               std::time_t modified) {
  Node& node = Add(path, false);
  node.content = std::move(content);
  node.modified = modified;
}

std::vector<std::pair<std::string, EntryKind>> MemoryFileSystem::Listing(
    const Node& node) const {
  auto entries = node.entries;
  if (shuffleSeed_) {
    std::shuffle(entries.begin(), entries.end(),
                 std::minstd_rand(*shuffleSeed_ + (*listings_)++));
  }
  return entries;
}

const MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path,
                                                     Failure& failure) const {
  const auto node = nodes_.find(path);
  if (node == nodes_.end()) {
    failure = SystemFailure(path, ENOENT);
    return nullptr;
  }
  return &node->second;
}

std::unique_ptr<FolderHandle> MemoryFileSystem::Open(const std::string& path,
                                                     Failure& failure) const {
  const Node* node = Find(path, failure);
  if (node == nullptr) return nullptr;
  if (!node->folder) {
    failure = SystemFailure(path, ENOTDIR);
    return nullptr;
  }
  return std::make_unique<Folder>(*this, path, *node);
}

std::unique_ptr<FolderHandle> MemoryFileSystem::OpenFolder(
    const std::string& path, Failure& failure) const {
  return Open(path, failure);
}

std::unique_ptr<FolderHandle> MemoryFileSystem::Reopen(const std::string& path,
                                                       FileId id,
                                                       Failure& failure) const {
  auto folder = Open(path, failure);
  if (folder != nullptr && folder->Id() != id) {
    failure = {path, kReplacedReason, 0};
    return nullptr;
  }
  return folder;
}

std::unique_ptr<FileReader> MemoryFileSystem::OpenFile(const std::string& path,
                                                       Failure& failure) const {
  const Node* node = Find(path, failure);
  if (node == nullptr) return nullptr;
  if (node->folder) {
    failure = SystemFailure(path, EISDIR);
    return nullptr;
  }
  return std::make_unique<StringReader>(node->content, FileId{0, node->inode},
                                        node->modified);
}

std::unique_ptr<OutputFolder> MemoryFileSystem::OpenOutputFolder(
    const std::string& path, Failure& failure) const {
  failure = SystemFailure(path, EROFS);
  return nullptr;
}

}  // namespace mapgen
