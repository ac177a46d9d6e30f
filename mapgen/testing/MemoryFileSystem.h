#pragma once

#include <atomic>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "FileSystem.h"

namespace mapgen {

// A file system held in memory, for tests: folders list their entries in
// the order they were added, which is no particular order, or shuffled
// anew at each listing. Pages are only read from it, never written to.
class MemoryFileSystem : public FileSystem {
 public:
  explicit MemoryFileSystem(std::size_t heldFolderBudget = 16)
      : heldFolderBudget_(heldFolderBudget) {}

  // Adds a folder, and any folder above it that is missing.
  void AddFolder(const std::string& path);
  // Adds a file with its content and modification time, and any folder
  // above it that is missing.
  void AddFile(const std::string& path, std::string content = {},
               std::time_t modified = 0);
  // Lists every folder's entries in a new order each time, from `seed` on.
  void ShuffleListings(unsigned seed) { shuffleSeed_ = seed; }

  std::unique_ptr<FolderHandle> OpenFolder(const std::string& path,
                                           Failure& failure) const override;
  std::unique_ptr<FolderHandle> Reopen(const std::string& path, FileId id,
                                       Failure& failure) const override;
  std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                       Failure& failure) const override;
  std::unique_ptr<OutputFolder> OpenOutputFolder(
      const std::string& path, Failure& failure) const override;
  std::size_t HeldFolderBudget() const override { return heldFolderBudget_; }

 private:
  class Folder;
  struct Node {
    bool folder = false;
    std::uint64_t inode = 0;
    std::string content;
    std::time_t modified = 0;
    std::vector<std::pair<std::string, EntryKind>> entries;
  };
  Node& Add(const std::string& path, bool folder);
  const Node* Find(const std::string& path, Failure& failure) const;
  std::unique_ptr<FolderHandle> Open(const std::string& path,
                                     Failure& failure) const;
  std::vector<std::pair<std::string, EntryKind>> Listing(
      const Node& node) const;

  std::size_t heldFolderBudget_;
  std::optional<unsigned> shuffleSeed_;
  std::unique_ptr<std::atomic<unsigned>> listings_ =
      std::make_unique<std::atomic<unsigned>>(0);
  std::map<std::string, Node> nodes_;
};

}  // namespace mapgen
