#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "FileSystem.h"

namespace mapgen {

// Wraps a file system and makes chosen calls fail, so that tests can repeat
// what a changing disk or a starved process does to a build or a save: a
// folder removed after its parent was listed, a page deleted before its
// title is read, a base folder that vanishes halfway, descriptors running
// out, a disk that fills up, a rename refused.
class FaultInjectingFileSystem : public FileSystem {
 public:
  // Opening a folder is kOpenFolder, whichever way it is opened. Creating
  // and writing files are named by the folder they are in, renaming by the
  // new name's path.
  enum class Call {
    kOpenFolder,
    kList,
    kOpenFile,
    kFacts,
    kRead,
    kCreate,
    kWrite,
    kRename
  };

  explicit FaultInjectingFileSystem(const FileSystem& inner) : inner_(inner) {}

  // Lets the first `successes` calls of `call` on `path` through, then fails
  // every later one with the error number `error`.
  void Fail(Call call, const std::string& path, int error, int successes = 0);

  // Runs `change` once, right before the call of `call` on `path` that
  // follows the first `successes`, and then lets that call through: the
  // disk changes under the build at that very moment.
  void Before(Call call, const std::string& path, std::function<void()> change,
              int successes = 0);

  // The failure this call is to end in; nothing when it is to go through.
  std::optional<Failure> Fault(Call call, const std::string& path) const;

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
  std::size_t HeldFolderBudget() const override {
    return inner_.HeldFolderBudget();
  }
  unsigned ReadersAllowed() const override { return inner_.ReadersAllowed(); }

 private:
  Outcome<std::unique_ptr<OutputFolder>> WrapOutputFolder(
      Outcome<std::unique_ptr<OutputFolder>> inner) const;

  struct PlannedFault {
    int error;
    int successesLeft;
    std::function<void()> change;
  };

  const FileSystem& inner_;
  mutable std::mutex mutex_;
  mutable std::map<std::pair<Call, std::string>, PlannedFault> faults_;
};

}  // namespace mapgen
