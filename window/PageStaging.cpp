#include "PageStaging.h"

#include <cerrno>

#include "NativePath.h"
#include "Paths.h"

namespace tessary {
namespace {

bool MayWriteIn(const mapgen::FileSystem& fs, const std::string& folder,
                mapgen::Failure& failure) {
  const auto output = fs.OpenOutputFolder(folder, failure);
  return output != nullptr && output->MayWrite(".", failure);
}

// The user may not write there, or nobody may.
bool IsRefusal(int error) {
  return error == EACCES || error == EPERM || error == EROFS;
}

QString Refusal(const std::string& folder, const mapgen::Failure& failure) {
  return ShownPath(folder) + ": " + QString::fromStdString(failure.reason);
}

}  // namespace

bool StagePage(const mapgen::FileSystem& fs, const std::string& base,
               const std::string& saveFolder, StagedPage& page,
               QString& problem) {
  mapgen::Failure inBase;
  // Any other trouble with the base folder is the build's to tell of.
  if (MayWriteIn(fs, base, inBase) || !IsRefusal(inBase.error)) {
    page = {mapgen::TempMapPath(base), false};
    return true;
  }
  mapgen::Failure inSaveFolder = inBase;
  if (saveFolder != base) {
    const auto output = fs.OpenOutputFolder(saveFolder, inSaveFolder);
    const bool writable =
        output != nullptr && output->MayWrite(".", inSaveFolder);
    const auto file =
        writable ? output->CreateTemporary(inSaveFolder) : nullptr;
    if (file != nullptr) {
      page = {mapgen::JoinPath(saveFolder, file->Name()), true};
      if (file->Finish(inSaveFolder)) return true;
      mapgen::Failure ignored;
      output->Remove(file->Name(), ignored);
    }
  }
  problem =
      "The map cannot be built: neither the folder it maps nor the "
      "map file's folder can be written.\n\n" +
      Refusal(base, inBase);
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
