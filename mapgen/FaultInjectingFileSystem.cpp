#include "FaultInjectingFileSystem.h"

#include "Paths.h"

namespace mapgen {
namespace {

using Call = FaultInjectingFileSystem::Call;

// A reader whose reads fail once the file system says so.
class FaultyReader : public FileReader {
 public:
  FaultyReader(const FaultInjectingFileSystem& fs,
               std::unique_ptr<FileReader> inner, std::string path)
      : fs_(fs), inner_(std::move(inner)), path_(std::move(path)) {}

  long Read(char* buffer, std::size_t size, Failure& failure) override {
    if (fs_.Fails(Call::kRead, path_, failure)) return -1;
    return inner_->Read(buffer, size, failure);
  }
  FileId Id() const override { return inner_->Id(); }
  bool HasOtherNames() const override { return inner_->HasOtherNames(); }

 private:
  const FaultInjectingFileSystem& fs_;
  std::unique_ptr<FileReader> inner_;
  const std::string path_;
};

std::unique_ptr<FolderHandle> Wrap(const FaultInjectingFileSystem& fs,
                                   std::unique_ptr<FolderHandle> inner);

// A folder whose calls fail once the file system says so.
class FaultyFolder : public FolderHandle {
 public:
  FaultyFolder(const FaultInjectingFileSystem& fs,
               std::unique_ptr<FolderHandle> inner)
      : fs_(fs), inner_(std::move(inner)) {}

  const std::string& Path() const override { return inner_->Path(); }
  FileId Id() const override { return inner_->Id(); }

  bool List(FolderListing& listing, Failure& failure) override {
    return !fs_.Fails(Call::kList, Path(), failure) &&
           inner_->List(listing, failure);
  }

  std::unique_ptr<FolderHandle> OpenSubfolder(const std::string& name,
                                              Failure& failure) override {
    if (fs_.Fails(Call::kOpenFolder, JoinPath(Path(), name), failure)) {
      return nullptr;
    }
    return Wrap(fs_, inner_->OpenSubfolder(name, failure));
  }

  std::unique_ptr<FileReader> OpenFile(const std::string& name,
                                       Failure& failure) override {
    std::string path = JoinPath(Path(), name);
    if (fs_.Fails(Call::kOpenFile, path, failure)) return nullptr;
    auto reader = inner_->OpenFile(name, failure);
    if (reader == nullptr) return nullptr;
    return std::make_unique<FaultyReader>(fs_, std::move(reader),
                                          std::move(path));
  }

 private:
  const FaultInjectingFileSystem& fs_;
  std::unique_ptr<FolderHandle> inner_;
};

std::unique_ptr<FolderHandle> Wrap(const FaultInjectingFileSystem& fs,
                                   std::unique_ptr<FolderHandle> inner) {
  if (inner == nullptr) return nullptr;
  return std::make_unique<FaultyFolder>(fs, std::move(inner));
}

}  // namespace

void FaultInjectingFileSystem::Fail(Call call, const std::string& path,
                                    int error, int successes) {
  std::lock_guard lock(mutex_);
  faults_[{call, path}] = {error, successes, {}};
}

void FaultInjectingFileSystem::Before(Call call, const std::string& path,
                                      std::function<void()> change,
                                      int successes) {
  std::lock_guard lock(mutex_);
  faults_[{call, path}] = {0, successes, std::move(change)};
}

bool FaultInjectingFileSystem::Fails(Call call, const std::string& path,
                                     Failure& failure) const {
  std::unique_lock lock(mutex_);
  const auto fault = faults_.find({call, path});
  if (fault == faults_.end()) return false;
  if (fault->second.successesLeft > 0) {
    --fault->second.successesLeft;
    return false;
  }
  if (fault->second.change) {
    const std::function<void()> change = std::move(fault->second.change);
    faults_.erase(fault);
    lock.unlock();
    change();
    return false;
  }
  failure = SystemFailure(path, fault->second.error);
  return true;
}

std::unique_ptr<FolderHandle> FaultInjectingFileSystem::OpenFolder(
    const std::string& path, Failure& failure) const {
  if (Fails(Call::kOpenFolder, path, failure)) return nullptr;
  return Wrap(*this, inner_.OpenFolder(path, failure));
}

std::unique_ptr<FolderHandle> FaultInjectingFileSystem::Reopen(
    const std::string& path, FileId id, Failure& failure) const {
  if (Fails(Call::kOpenFolder, path, failure)) return nullptr;
  return Wrap(*this, inner_.Reopen(path, id, failure));
}

}  // namespace mapgen
