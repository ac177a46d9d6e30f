#include "FileSystem.h"

#include "Paths.h"

namespace mapgen {

bool FileSystem::IsFolder(const std::string& path, std::string& reason) const {
  Failure failure;
  if (OpenFolder(path, failure) != nullptr) return true;
  reason = failure.reason;
  return false;
}

std::optional<FileId> FileSystem::IdOf(const std::string& path) const {
  Failure failure;
  const auto folder = OpenOutputFolder(ParentFolder(path), failure);
  OutputEntry entry;
  if (folder == nullptr ||
      !folder->Inspect(std::string(LastName(path)), true, entry, failure) ||
      entry.kind == OutputEntry::Kind::kNothing) {
    return std::nullopt;
  }
  return entry.id;
}

bool FileSystem::RemoveFile(const std::string& path, Failure& failure) const {
  const auto folder = OpenOutputFolder(ParentFolder(path), failure);
  return folder != nullptr &&
         folder->Remove(std::string(LastName(path)), failure);
}

}  // namespace mapgen
