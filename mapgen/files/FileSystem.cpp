#include "FileSystem.h"

#include "Paths.h"

namespace mapgen {

Outcome<void> FileSystem::IsFolder(const std::string& path) const {
  auto folder = OpenFolder(path);
  if (!folder) return std::move(folder).failure();
  return {};
}

std::optional<FileId> FileSystem::IdOf(const std::string& path) const {
  const auto folder = OpenOutputFolder(ParentFolder(path));
  if (!folder) return std::nullopt;
  const auto entry = (*folder)->Inspect(std::string(LastName(path)), true);
  if (!entry || entry->kind == OutputEntry::Kind::kNothing) {
    return std::nullopt;
  }
  return entry->id;
}

Outcome<void> FileSystem::RemoveFile(const std::string& path) const {
  const auto folder = OpenOutputFolder(ParentFolder(path));
  if (!folder) return folder.failure();
  return (*folder)->Remove(std::string(LastName(path)));
}

Outcome<std::unique_ptr<OutputFolder>> FileSystem::OpenOutputFolderBelow(
    const std::string& base, const std::string& below) const {
  return OpenOutputFolder(JoinPath(base, below));
}

}  // namespace mapgen
