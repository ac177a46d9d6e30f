#pragma once

#include "FileSystem.h"

namespace mapgen {

// The real file system. Never opens anything but folders and regular files,
// so a pipe or a device named like a page cannot stall a build.
class PosixFileSystem : public FileSystem {
 public:
  bool IsFolder(const std::string& path, std::string& reason) const override;
  bool ListFolder(const std::string& path, FolderListing& listing,
                  std::string& reason) const override;
  std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                       std::string& reason) const override;
};

}  // namespace mapgen
