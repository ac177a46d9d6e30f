#pragma once

#include "FileSystem.h"

namespace mapgen {

// The real file system. Never opens anything but folders and regular files,
// so a pipe or a device named like a page cannot stall a build.
class PosixFileSystem : public FileSystem {
 public:
  std::unique_ptr<FolderHandle> OpenFolder(const std::string& path,
                                           Failure& failure) const override;
  std::unique_ptr<FolderHandle> Reopen(const std::string& path, FileId id,
                                       Failure& failure) const override;
  std::size_t HeldFolderBudget() const override;
  unsigned ReadersAllowed() const override;
};

}  // namespace mapgen
