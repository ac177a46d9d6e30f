#include "MemoryFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "Paths.h"

namespace mapgen {
namespace {

class StringReader : public FileReader {
 public:
  StringReader(std::string_view content, FileId id)
      : rest_(content), id_(id) {}
  long Read(char* buffer, std::size_t size, Failure&) override {
    const std::size_t got = std::min(size, rest_.size());
    std::memcpy(buffer, rest_.data(), got);
    rest_.remove_prefix(got);
    return static_cast<long>(got);
  }
  FileId Id() const override { return id_; }
  bool HasOtherNames() const override { return false; }

 private:
  std::string_view rest_;
  FileId id_;
};

}  // namespace

class MemoryFileSystem::Folder : public FolderHandle {
 public:
  Folder(const MemoryFileSystem& fs, std::string path, const Node& node)
      : fs_(fs), path_(std::move(path)), node_(node) {}

  const std::string& Path() const override { return path_; }
  FileId Id() const override { return {0, node_.inode}; }

  bool List(FolderListing& listing, Failure&) override {
    listing = node_.listing;
    return true;
  }

  std::unique_ptr<FolderHandle> OpenSubfolder(const std::string& name,
                                              Failure& failure) override {
    return fs_.Open(JoinPath(path_, name), failure);
  }

  std::unique_ptr<FileReader> OpenFile(const std::string& name,
                                       Failure& failure) override {
    std::string path = JoinPath(path_, name);
    const Node* node = fs_.Find(path, failure);
    if (node == nullptr) return nullptr;
    if (node->folder) {
      failure = SystemFailure(std::move(path), EISDIR);
      return nullptr;
    }
    return std::make_unique<StringReader>(node->content,
                                          FileId{0, node->inode});
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
      const std::string name(LastName(path));
      (folder ? parent.listing.subfolders : parent.listing.files)
          .push_back(name);
    }
  }
  node->second.folder = folder;
  return node->second;
}

void MemoryFileSystem::AddFolder(const std::string& path) { Add(path, true); }

void MemoryFileSystem::AddFile(const std::string& path, std::string content) {
  Add(path, false).content = std::move(content);
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

}  // namespace mapgen
