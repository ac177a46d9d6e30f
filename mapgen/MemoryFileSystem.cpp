#include "MemoryFileSystem.h"

#include <algorithm>
#include <cstring>

#include "Paths.h"

namespace mapgen {
namespace {

class StringReader : public FileReader {
 public:
  explicit StringReader(std::string_view content) : rest_(content) {}
  long Read(char* buffer, std::size_t size, std::string&) override {
    const std::size_t got = std::min(size, rest_.size());
    std::memcpy(buffer, rest_.data(), got);
    rest_.remove_prefix(got);
    return static_cast<long>(got);
  }

 private:
  std::string_view rest_;
};

}  // namespace

MemoryFileSystem::Node& MemoryFileSystem::Add(const std::string& path,
                                              bool folder) {
  const auto [node, added] = nodes_.try_emplace(path);
  if (added && path != "/") {
    Node& parent = Add(ParentFolder(path), true);
    const std::string name(LastName(path));
    (folder ? parent.listing.subfolders : parent.listing.files).push_back(name);
  }
  node->second.folder = folder;
  return node->second;
}

void MemoryFileSystem::AddFolder(const std::string& path) { Add(path, true); }

void MemoryFileSystem::AddFile(const std::string& path, std::string content) {
  Add(path, false).content = std::move(content);
}

const MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path,
                                                     std::string& reason) const {
  const auto node = nodes_.find(path);
  if (node == nodes_.end()) {
    reason = "No such file or directory";
    return nullptr;
  }
  return &node->second;
}

bool MemoryFileSystem::IsFolder(const std::string& path,
                                std::string& reason) const {
  const Node* node = Find(path, reason);
  if (node != nullptr && !node->folder) reason = "Not a directory";
  return node != nullptr && node->folder;
}

bool MemoryFileSystem::ListFolder(const std::string& path,
                                  FolderListing& listing,
                                  std::string& reason) const {
  const Node* node = Find(path, reason);
  if (node == nullptr) return false;
  if (!node->folder) {
    reason = "Not a directory";
    return false;
  }
  listing = node->listing;
  return true;
}

std::unique_ptr<FileReader> MemoryFileSystem::OpenFile(
    const std::string& path, std::string& reason) const {
  const Node* node = Find(path, reason);
  if (node == nullptr) return nullptr;
  if (node->folder) {
    reason = "Is a directory";
    return nullptr;
  }
  return std::make_unique<StringReader>(node->content);
}

}  // namespace mapgen
