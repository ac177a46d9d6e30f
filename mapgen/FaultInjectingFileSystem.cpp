#include "FaultInjectingFileSystem.h"

namespace mapgen {
namespace {

// A reader whose reads fail once the file system says so.
class FaultyReader : public FileReader {
 public:
  FaultyReader(std::unique_ptr<FileReader> inner,
               std::function<bool(std::string&)> fails)
      : inner_(std::move(inner)), fails_(std::move(fails)) {}

  long Read(char* buffer, std::size_t size, std::string& reason) override {
    if (fails_(reason)) return -1;
    return inner_->Read(buffer, size, reason);
  }

 private:
  std::unique_ptr<FileReader> inner_;
  std::function<bool(std::string&)> fails_;
};

}  // namespace

void FaultInjectingFileSystem::Fail(Call call, const std::string& path,
                                    std::string reason, int successes) {
  std::lock_guard lock(mutex_);
  faults_[{call, path}] = {std::move(reason), successes};
}

bool FaultInjectingFileSystem::Fails(Call call, const std::string& path,
                                     std::string& reason) const {
  std::lock_guard lock(mutex_);
  const auto fault = faults_.find({call, path});
  if (fault == faults_.end()) return false;
  if (fault->second.successesLeft > 0) {
    --fault->second.successesLeft;
    return false;
  }
  reason = fault->second.reason;
  return true;
}

bool FaultInjectingFileSystem::IsFolder(const std::string& path,
                                        std::string& reason) const {
  return !Fails(Call::kIsFolder, path, reason) && inner_.IsFolder(path, reason);
}

bool FaultInjectingFileSystem::ListFolder(const std::string& path,
                                          FolderListing& listing,
                                          std::string& reason) const {
  return !Fails(Call::kListFolder, path, reason) &&
         inner_.ListFolder(path, listing, reason);
}

std::unique_ptr<FileReader> FaultInjectingFileSystem::OpenFile(
    const std::string& path, std::string& reason) const {
  if (Fails(Call::kOpenFile, path, reason)) return nullptr;
  auto reader = inner_.OpenFile(path, reason);
  if (reader == nullptr) return nullptr;
  return std::make_unique<FaultyReader>(
      std::move(reader), [this, path](std::string& readReason) {
        return Fails(Call::kRead, path, readReason);
      });
}

}  // namespace mapgen
