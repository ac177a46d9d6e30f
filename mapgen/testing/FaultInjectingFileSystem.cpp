#include "FaultInjectingFileSystem.h"

#include "Paths.h"

namespace mapgen {
namespace {

using Call = FaultInjectingFileSystem::Call;

// What `inner` gives, each value wrapped by `wrap`.
template <typename T, typename Wrap>
Outcome<T> Wrapped(Outcome<T> inner, const Wrap& wrap) {
  if (!inner) return std::move(inner).failure();
  return wrap(std::move(*inner));
}

// A reader whose reads fail once the file system says so.
class FaultyReader : public FileReader {
 public:
  FaultyReader(const FaultInjectingFileSystem& fs,
               std::unique_ptr<FileReader> inner, std::string path)
      : fs_(fs), inner_(std::move(inner)), path_(std::move(path)) {}

  Outcome<std::size_t> Read(char* buffer, std::size_t size) override {
    if (auto fault = fs_.Fault(Call::kRead, path_)) return *fault;
    return inner_->Read(buffer, size);
  }
  FileId Id() const override { return inner_->Id(); }
  bool HasOtherNames() const override { return inner_->HasOtherNames(); }
  std::optional<FileFacts> Facts() const override { return inner_->Facts(); }

 private:
  const FaultInjectingFileSystem& fs_;
  std::unique_ptr<FileReader> inner_;
  const std::string path_;
};

Outcome<std::unique_ptr<FileReader>> WrapReader(
    const FaultInjectingFileSystem& fs,
    Outcome<std::unique_ptr<FileReader>> inner, std::string path) {
  return Wrapped(std::move(inner), [&](std::unique_ptr<FileReader> reader) {
    return std::unique_ptr<FileReader>(
        std::make_unique<FaultyReader>(fs, std::move(reader), std::move(path)));
  });
}

// A file being written whose writes and renames fail once the file system
// says so. A stream opened where a file stands now is none.
class FaultyOutputFile : public OutputFile {
 public:
  FaultyOutputFile(const FaultInjectingFileSystem& fs,
                   std::unique_ptr<OutputFile> inner, std::string folder)
      : fs_(fs), inner_(std::move(inner)), folder_(std::move(folder)) {}

  const std::string& Name() const override { return inner_->Name(); }
  Outcome<void> Write(std::string_view bytes) override {
    if (auto fault = fs_.Fault(Call::kWrite, folder_)) return *fault;
    return inner_->Write(bytes);
  }
  Outcome<void> KeepOwnerAndMode(const OutputEntry& old) override {
    return inner_->KeepOwnerAndMode(old);
  }
  Outcome<void> TakeNewFileMode() override { return inner_->TakeNewFileMode(); }
  Outcome<void> Finish() override { return inner_->Finish(); }
  Outcome<void> Replace(const std::string& name) override {
    if (auto fault = fs_.Fault(Call::kRename, JoinPath(folder_, name))) {
      return *fault;
    }
    return inner_->Replace(name);
  }

 private:
  const FaultInjectingFileSystem& fs_;
  std::unique_ptr<OutputFile> inner_;
  const std::string folder_;
};

// An output folder whose files fail once the file system says so.
class FaultyOutputFolder : public OutputFolder {
 public:
  FaultyOutputFolder(const FaultInjectingFileSystem& fs,
                     std::unique_ptr<OutputFolder> inner)
      : fs_(fs), inner_(std::move(inner)) {}

  const std::string& Path() const override { return inner_->Path(); }
  FileId Id() const override { return inner_->Id(); }
  Outcome<OutputEntry> Inspect(const std::string& name,
                               bool follow) const override {
    return inner_->Inspect(name, follow);
  }
  Outcome<void> MayWrite(const std::string& name) const override {
    return inner_->MayWrite(name);
  }
  Outcome<std::unique_ptr<OutputFile>> OpenStream(
      const std::string& name) override {
    if (auto fault = fs_.Fault(Call::kCreate, Path())) return *fault;
    return Wrap(inner_->OpenStream(name));
  }
  Outcome<std::unique_ptr<OutputFile>> CreateTemporary(
      std::uint32_t mode) override {
    if (auto fault = fs_.Fault(Call::kCreate, Path())) return *fault;
    return Wrap(inner_->CreateTemporary(mode));
  }
  Outcome<void> Remove(const std::string& name) override {
    return inner_->Remove(name);
  }

 private:
  Outcome<std::unique_ptr<OutputFile>> Wrap(
      Outcome<std::unique_ptr<OutputFile>> inner) {
    return Wrapped(std::move(inner), [&](std::unique_ptr<OutputFile> file) {
      if (file == nullptr) return file;
      return std::unique_ptr<OutputFile>(
          std::make_unique<FaultyOutputFile>(fs_, std::move(file), Path()));
    });
  }

  const FaultInjectingFileSystem& fs_;
  std::unique_ptr<OutputFolder> inner_;
};

Outcome<std::unique_ptr<FolderHandle>> Wrap(
    const FaultInjectingFileSystem& fs,
    Outcome<std::unique_ptr<FolderHandle>> inner);

// A folder whose calls fail once the file system says so.
class FaultyFolder : public FolderHandle {
 public:
  FaultyFolder(const FaultInjectingFileSystem& fs,
               std::unique_ptr<FolderHandle> inner)
      : fs_(fs), inner_(std::move(inner)) {}

  const std::string& Path() const override { return inner_->Path(); }
  FileId Id() const override { return inner_->Id(); }

  Outcome<void> List(const EntryVisitor& visit) override {
    if (auto fault = fs_.Fault(Call::kList, Path())) return *fault;
    return inner_->List(visit);
  }

  Outcome<std::unique_ptr<FolderHandle>> OpenSubfolder(
      const std::string& name) override {
    if (auto fault = fs_.Fault(Call::kOpenFolder, JoinPath(Path(), name))) {
      return *fault;
    }
    return Wrap(fs_, inner_->OpenSubfolder(name));
  }

  // Telling a folder without opening it counts as opening it.
  std::optional<FileId> LeafId(const std::string& name) override {
    if (fs_.Fault(Call::kOpenFolder, JoinPath(Path(), name))) {
      return std::nullopt;
    }
    return inner_->LeafId(name);
  }

  std::shared_ptr<const ReadBoundary> Boundary() const override {
    return inner_->Boundary();
  }

  Outcome<std::unique_ptr<FileReader>> OpenFile(
      const std::string& name, const ReadBoundary* within) override {
    std::string path = JoinPath(Path(), name);
    if (auto fault = fs_.Fault(Call::kOpenFile, path)) return *fault;
    return WrapReader(fs_, inner_->OpenFile(name, within), std::move(path));
  }

  Outcome<FileFacts> Facts(const std::string& name,
                           const ReadBoundary* within) override {
    if (auto fault = fs_.Fault(Call::kFacts, JoinPath(Path(), name))) {
      return *fault;
    }
    return inner_->Facts(name, within);
  }

 private:
  const FaultInjectingFileSystem& fs_;
  std::unique_ptr<FolderHandle> inner_;
};

Outcome<std::unique_ptr<FolderHandle>> Wrap(
    const FaultInjectingFileSystem& fs,
    Outcome<std::unique_ptr<FolderHandle>> inner) {
  return Wrapped(std::move(inner), [&](std::unique_ptr<FolderHandle> folder) {
    return std::unique_ptr<FolderHandle>(
        std::make_unique<FaultyFolder>(fs, std::move(folder)));
  });
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

std::optional<Failure> FaultInjectingFileSystem::Fault(
    Call call, const std::string& path) const {
  std::unique_lock lock(mutex_);
  const auto fault = faults_.find({call, path});
  if (fault == faults_.end()) return std::nullopt;
  if (fault->second.successesLeft > 0) {
    --fault->second.successesLeft;
    return std::nullopt;
  }
  if (fault->second.change) {
    const std::function<void()> change = std::move(fault->second.change);
    faults_.erase(fault);
    lock.unlock();
    change();
    return std::nullopt;
  }
  return SystemFailure(path, fault->second.error);
}

Outcome<std::unique_ptr<FolderHandle>> FaultInjectingFileSystem::OpenFolder(
    const std::string& path) const {
  if (auto fault = Fault(Call::kOpenFolder, path)) return *fault;
  return Wrap(*this, inner_.OpenFolder(path));
}

Outcome<std::unique_ptr<FileReader>> FaultInjectingFileSystem::OpenFile(
    const std::string& path) const {
  if (auto fault = Fault(Call::kOpenFile, path)) return *fault;
  return WrapReader(*this, inner_.OpenFile(path), path);
}

Outcome<std::unique_ptr<OutputFolder>>
FaultInjectingFileSystem::OpenOutputFolder(const std::string& path) const {
  return WrapOutputFolder(inner_.OpenOutputFolder(path));
}

Outcome<std::unique_ptr<OutputFolder>>
FaultInjectingFileSystem::OpenOutputFolderBelow(
    const std::string& base, const std::string& below) const {
  return WrapOutputFolder(inner_.OpenOutputFolderBelow(base, below));
}

Outcome<std::unique_ptr<OutputFolder>>
FaultInjectingFileSystem::WrapOutputFolder(
    Outcome<std::unique_ptr<OutputFolder>> inner) const {
  return Wrapped(std::move(inner), [&](std::unique_ptr<OutputFolder> folder) {
    return std::unique_ptr<OutputFolder>(
        std::make_unique<FaultyOutputFolder>(*this, std::move(folder)));
  });
}

Outcome<std::unique_ptr<FolderHandle>> FaultInjectingFileSystem::Reopen(
    const std::string& path, FileId id) const {
  if (auto fault = Fault(Call::kOpenFolder, path)) return *fault;
  return Wrap(*this, inner_.Reopen(path, id));
}

}  // namespace mapgen
