#pragma once

#include <map>
#include <string>
#include <vector>

#include "FileSystem.h"

namespace mapgen {

// A file system held in memory, for tests: folders list their entries in
// the order they were added, which is no particular order.
class MemoryFileSystem : public FileSystem {
 public:
  // Adds a folder, and any folder above it that is missing.
  void AddFolder(const std::string& path);
  // Adds a file with its content, and any folder above it that is missing.
  void AddFile(const std::string& path, std::string content = {});

  bool IsFolder(const std::string& path, std::string& reason) const override;
  bool ListFolder(const std::string& path, FolderListing& listing,
                  std::string& reason) const override;
  std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                       std::string& reason) const override;

 private:
  struct Node {
    bool folder = false;
    std::string content;
    FolderListing listing;
  };
  Node& Add(const std::string& path, bool folder);
  const Node* Find(const std::string& path, std::string& reason) const;

  std::map<std::string, Node> nodes_;
};

}  // namespace mapgen
