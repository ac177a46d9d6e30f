#include "PageStaging.h"

#include <cerrno>

#include "NativePath.h"
#include "Paths.h"

namespace tessary {
namespace {

mapgen::Outcome<void> MayWriteIn(const mapgen::FileSystem& fs,
                                 const std::string& folder) {
  const auto output = fs.OpenOutputFolder(folder);
  if (!output) return output.failure();
  return (*output)->MayWrite(".");
}

// The user may not write there, or nobody may.
bool IsRefusal(const mapgen::Failure& failure) {
  return mapgen::IsSystemError(failure, EACCES) ||
         mapgen::IsSystemError(failure, EPERM) ||
         mapgen::IsSystemError(failure, EROFS);
}

// A hidden file of its own in `folder`, made to hold a name for the page,
// finished and kept: the build's page replaces it, or the window removes
// it.
mapgen::Outcome<std::string> ReserveName(const mapgen::FileSystem& fs,
                                         const std::string& folder) {
  const auto output = fs.OpenOutputFolder(folder);
  if (!output) return output.failure();
  auto writable = (*output)->MayWrite(".");
  if (!writable) return std::move(writable).failure();
  auto file = (*output)->CreateTemporary(0600);
  if (!file) return std::move(file).failure();
  const std::string name = (*file)->Name();
  auto kept = (*file)->Finish();
  if (kept) kept = (*file)->Replace(name);
  if (!kept) return std::move(kept).failure();
  return mapgen::JoinPath(folder, name);
}

QString Refusal(const std::string& folder, const mapgen::Failure& failure) {
  return ShownPath(folder) + ": " + QString::fromStdString(failure.reason);
}

}  // namespace

bool StagePage(const mapgen::FileSystem& fs, const std::string& base,
               const std::string& saveFolder, StagedPage& page,
               QString& problem) {
  const auto inBase = MayWriteIn(fs, base);
  // Any other trouble with the base folder is the build's to tell of.
  if (inBase || !IsRefusal(inBase.failure())) {
    page = {mapgen::TempMapPath(base), false};
    return true;
  }
  mapgen::Failure inSaveFolder = inBase.failure();
  if (saveFolder != base) {
    auto reserved = ReserveName(fs, saveFolder);
    if (reserved) {
      page = {std::move(*reserved), true};
      return true;
    }
    inSaveFolder = std::move(reserved).failure();
  }
  problem =
      "The map cannot be built: neither the folder it maps nor the "
      "map file's folder can be written.\n\n" +
      Refusal(base, inBase.failure());
  if (saveFolder != base) problem += "\n" + Refusal(saveFolder, inSaveFolder);
  return false;
}

std::string PreviewPathBeside(const std::string& page) {
  std::string stem(mapgen::LastName(page));
  if (stem.starts_with('.')) stem.erase(0, 1);
  stem = stem.substr(0, stem.rfind('.'));
  return mapgen::JoinPath(mapgen::ParentFolder(page),
                          "." + stem + "-preview.html");
}

}  // namespace tessary
