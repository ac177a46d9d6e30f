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
  std::optional<FileFacts> Facts() const override { return inner_->Facts(); }

 private:
  const FaultInjectingFileSystem& fs_;
  std::unique_ptr<FileReader> inner_;
  const std::string path_;
};

std::unique_ptr<FolderHandle> Wrap(const FaultInjectingFileSystem& fs,
                                   std::unique_ptr<FolderHandle> inner);

std::unique_ptr<FileReader> WrapReader(const FaultInjectingFileSystem& fs,
                                       std::unique_ptr<FileReader> inner,
                                       std::string path) {
  if (inner == nullptr) return nullptr;
  return std::make_unique<FaultyReader>(fs, std::move(inner), std::move(path));
}

// A file being written whose writes fail once the file system says so.
class FaultyOutputFile : public OutputFile {
 public:
  FaultyOutputFile(const FaultInjectingFileSystem& fs,
                   std::unique_ptr<OutputFile> inner, std::string folder)
      : fs_(fs), inner_(std::move(inner)), folder_(std::move(folder)) {}

  const std::string& Name() const override { return inner_->Name(); }
  bool Write(std::string_view bytes, Failure& failure) override {
    return !fs_.Fails(Call::kWrite, folder_, failure) &&
           inner_->Write(bytes, failure);
  }
  bool KeepOwnerAndMode(const OutputEntry& old, Failure& failure) override {
    return inner_->KeepOwnerAndMode(old, failure);
  }
  bool Finish(Failure& failure) override { return inner_->Finish(failure); }

 private:
  const FaultInjectingFileSystem& fs_;
  std::unique_ptr<OutputFile> inner_;
  const std::string folder_;
};

// An output folder whose files and renames fail once the file system says
// so.
class FaultyOutputFolder : public OutputFolder {
 public:
  FaultyOutputFolder(const FaultInjectingFileSystem& fs,
                     std::unique_ptr<OutputFolder> inner)
      : fs_(fs), inner_(std::move(inner)) {}

  const std::string& Path() const override { return inner_->Path(); }
  bool Inspect(const std::string& name, bool follow, OutputEntry& entry,
               Failure& failure) const override {
    return inner_->Inspect(name, follow, entry, failure);
  }
  bool MayWrite(const std::string& name, Failure& failure) const override {
    return inner_->MayWrite(name, failure);
  }
  std::unique_ptr<OutputFile> OpenStream(const std::string& name,
                                         Failure& failure) override {
    if (fs_.Fails(Call::kCreate, Path(), failure)) return nullptr;
    return Wrap(inner_->OpenStream(name, failure));
  }
  std::unique_ptr<OutputFile> CreateTemporary(Failure& failure) override {
    if (fs_.Fails(Call::kCreate, Path(), failure)) return nullptr;
    return Wrap(inner_->CreateTemporary(failure));
  }
  bool Rename(const std::string& from, const std::string& to,
              Failure& failure) override {
    return !fs_.Fails(Call::kRename, JoinPath(Path(), to), failure) &&
           inner_->Rename(from, to, failure);
  }
  bool Remove(const std::string& name, Failure& failure) override {
    return inner_->Remove(name, failure);
  }

 private:
  std::unique_ptr<OutputFile> Wrap(std::unique_ptr<OutputFile> inner) {
    if (inner == nullptr) return nullptr;
    return std::make_unique<FaultyOutputFile>(fs_, std::move(inner), Path());
  }

  const FaultInjectingFileSystem& fs_;
  std::unique_ptr<OutputFolder> inner_;
};

// A folder whose calls fail once the file system says so.
class FaultyFolder : public FolderHandle {
 public:
  FaultyFolder(const FaultInjectingFileSystem& fs,
               std::unique_ptr<FolderHandle> inner)
      : fs_(fs), inner_(std::move(inner)) {}

  const std::string& Path() const override { return inner_->Path(); }
  FileId Id() const override { return inner_->Id(); }

  bool List(const EntryVisitor& visit, Failure& failure) override {
    return !fs_.Fails(Call::kList, Path(), failure) &&
           inner_->List(visit, failure);
  }

  std::unique_ptr<FolderHandle> OpenSubfolder(const std::string& name,
                                              Failure& failure) override {
    if (fs_.Fails(Call::kOpenFolder, JoinPath(Path(), name), failure)) {
      return nullptr;
    }
    return Wrap(fs_, inner_->OpenSubfolder(name, failure));
  }

  // Telling a folder without opening it counts as opening it.
  bool IsLeaf(const std::string& name, FileId& id) override {
    Failure failure;
    return !fs_.Fails(Call::kOpenFolder, JoinPath(Path(), name), failure) &&
           inner_->IsLeaf(name, id);
  }

  std::unique_ptr<FileReader> OpenFile(const std::string& name,
                                       Failure& failure) override {
    std::string path = JoinPath(Path(), name);
    if (fs_.Fails(Call::kOpenFile, path, failure)) return nullptr;
    return WrapReader(fs_, inner_->OpenFile(name, failure), std::move(path));
  }

  bool Facts(const std::string& name, FileFacts& facts,
             Failure& failure) override {
    return !fs_.Fails(Call::kFacts, JoinPath(Path(), name), failure) &&
           inner_->Facts(name, facts, failure);
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

std::unique_ptr<FileReader> FaultInjectingFileSystem::OpenFile(
    const std::string& path, Failure& failure) const {
  if (Fails(Call::kOpenFile, path, failure)) return nullptr;
  return WrapReader(*this, inner_.OpenFile(path, failure), path);
}

std::unique_ptr<OutputFolder> FaultInjectingFileSystem::OpenOutputFolder(
    const std::string& path, Failure& failure) const {
  auto inner = inner_.OpenOutputFolder(path, failure);
  if (inner == nullptr) return nullptr;
  return std::make_unique<FaultyOutputFolder>(*this, std::move(inner));
}

std::unique_ptr<FolderHandle> FaultInjectingFileSystem::Reopen(
    const std::string& path, FileId id, Failure& failure) const {
  if (Fails(Call::kOpenFolder, path, failure)) return nullptr;
  return Wrap(*this, inner_.Reopen(path, id, failure));
}

}  // namespace mapgen
