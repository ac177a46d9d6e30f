#pragma once

#include "FileSystem.h"

namespace mapgen {

// The real file system. Never reads anything but folders and regular files,
// so a pipe or a device named like a page cannot stall a build; writes
// pipes and devices only where a page is written to one on purpose.
class PosixFileSystem : public FileSystem {
 public:
  Outcome<std::unique_ptr<FolderHandle>> OpenFolder(
      const std::string& path) const override;
  Outcome<std::unique_ptr<FolderHandle>> Reopen(const std::string& path,
                                                FileId id) const override;
  Outcome<std::unique_ptr<FileReader>> OpenFile(
      const std::string& path) const override;
  Outcome<std::unique_ptr<OutputFolder>> OpenOutputFolder(
      const std::string& path) const override;
  Outcome<std::unique_ptr<OutputFolder>> OpenOutputFolderBelow(
      const std::string& base, const std::string& below) const override;
  std::size_t HeldFolderBudget() const override;
  unsigned ReadersAllowed() const override;
};

}  // namespace mapgen
