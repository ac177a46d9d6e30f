#pragma once

#include <map>
#include <mutex>
#include <string>
#include <functional>
#include <utility>

#include "FileSystem.h"

namespace mapgen {

// Wraps a file system and makes chosen calls fail, so that tests can repeat
// what a changing disk does to a build: a folder removed after its parent
// was listed, a page deleted before its title is read, a base folder that
// vanishes halfway.
class FaultInjectingFileSystem : public FileSystem {
 public:
  enum class Call { kIsFolder, kListFolder, kOpenFile, kRead };

  explicit FaultInjectingFileSystem(const FileSystem& inner) : inner_(inner) {}

  // Lets the first `successes` calls of `call` on `path` through, then fails
  // every later one with `reason`.
  void Fail(Call call, const std::string& path, std::string reason,
            int successes = 0);

  bool IsFolder(const std::string& path, std::string& reason) const override;
  bool ListFolder(const std::string& path, FolderListing& listing,
                  std::string& reason) const override;
  std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                       std::string& reason) const override;

 private:
  struct Fault {
    std::string reason;
    int successesLeft;
  };
  // True, with the reason, when this call is to fail.
  bool Fails(Call call, const std::string& path, std::string& reason) const;

  const FileSystem& inner_;
  mutable std::mutex mutex_;
  mutable std::map<std::pair<Call, std::string>, Fault> faults_;
};

}  // namespace mapgen
