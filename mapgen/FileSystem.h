#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace mapgen {

// What went wrong with one path, in the system's own words.
struct Failure {
  std::string path;
  std::string reason;
};

// One folder's entries that a map can use: real subfolders (never links to
// folders) and files a browser can open (regular files and links to them),
// names only, hidden names left out, in no particular order.
struct FolderListing {
  std::vector<std::string> subfolders;
  std::vector<std::string> files;
};

// An open file, read front to back.
class FileReader {
 public:
  virtual ~FileReader() = default;
  // Reads up to `size` bytes into `buffer`; returns how many were read, 0 at
  // the end of the file, or -1 with `reason` set when the read failed.
  virtual long Read(char* buffer, std::size_t size, std::string& reason) = 0;
};

// The file system as a build sees it. Every method may be called from
// several threads at once.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Whether `path` names an existing folder; the reason when it does not.
  virtual bool IsFolder(const std::string& path, std::string& reason) const = 0;

  // Lists a folder; false with `reason` set when it cannot be read.
  virtual bool ListFolder(const std::string& path, FolderListing& listing,
                          std::string& reason) const = 0;

  // Opens a file for reading; null with `reason` set when it cannot be.
  virtual std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                               std::string& reason) const = 0;
};

}  // namespace mapgen
