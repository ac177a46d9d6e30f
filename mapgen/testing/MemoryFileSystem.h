#pragma once

#include <atomic>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "FileSystem.h"

namespace mapgen {

// A file system held in memory, for tests: folders list their entries in
// the order they were added, which is no particular order, or shuffled
// anew at each listing. Pages are written into it as into a disk, and it
// keeps what was done to it, so that tests can say what a build or a save
// touched: the files opened for reading, the names that files were put
// at, and the files removed, each in order. Any thread may use it.
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
  // Adds an entry that is neither a folder nor a file (a link, a pipe), as
  // a listing shows it; it cannot be opened.
  void AddOther(const std::string& path, EntryKind kind);
  // Lists every folder's entries in a new order each time, from `seed` on.
  void ShuffleListings(unsigned seed) { shuffleSeed_ = seed; }

  // The content of the file at `path`; nothing when no file is there.
  std::optional<std::string> Content(const std::string& path) const;
  // The names in the folder at `path`, in the order they were added.
  std::vector<std::string> Names(const std::string& path) const;

  // What was done, in order: files opened for reading, paths that a
  // written file was put at, files removed.
  std::vector<std::string> Opened() const;
  std::vector<std::string> Written() const;
  std::vector<std::string> Removed() const;

  Outcome<std::unique_ptr<FolderHandle>> OpenFolder(
      const std::string& path) const override;
  Outcome<std::unique_ptr<FolderHandle>> Reopen(const std::string& path,
                                                FileId id) const override;
  Outcome<std::unique_ptr<FileReader>> OpenFile(
      const std::string& path) const override;
  Outcome<std::unique_ptr<OutputFolder>> OpenOutputFolder(
      const std::string& path) const override;
  std::size_t HeldFolderBudget() const override { return heldFolderBudget_; }

 private:
  class Folder;
  class MemoryOutputFolder;
  class MemoryOutputFile;
  struct Node {
    EntryKind kind = EntryKind::kFile;
    std::uint64_t inode = 0;
    std::string content;
    std::time_t modified = 0;
    std::uint32_t mode = 0644;
    std::vector<std::pair<std::string, EntryKind>> entries;
  };

  // With the mutex held: the node at `path`, added with any folder above
  // it that is missing; a node taken out; the node of `kind` at `path`.
  Node& Add(const std::string& path, EntryKind kind) const;
  void Take(const std::string& path) const;
  Outcome<Node*> Find(const std::string& path, EntryKind kind) const;

  std::vector<std::pair<std::string, EntryKind>> Listing(
      const std::string& path) const;

  const std::size_t heldFolderBudget_;
  std::optional<unsigned> shuffleSeed_;
  // Writing a page changes what even a const file system holds.
  std::unique_ptr<std::mutex> mutex_ = std::make_unique<std::mutex>();
  mutable unsigned listings_ = 0;              // guarded by mutex_
  mutable std::uint64_t lastInode_ = 0;        // guarded by mutex_
  mutable std::map<std::string, Node> nodes_;  // guarded by mutex_
  mutable std::vector<std::string> opened_, written_, removed_;  // likewise
};

}  // namespace mapgen
