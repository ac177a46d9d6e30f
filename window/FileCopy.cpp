#include "FileCopy.h"

#include "MapFileWriter.h"
#include "NativePath.h"
#include "Paths.h"

namespace tessary {

bool SameFile(const mapgen::FileSystem& fs, const QString& first,
              const QString& second) {
  const auto a = fs.IdOf(NativePath(first));
  return a && a == fs.IdOf(NativePath(second));
}

void RemoveIfThere(const mapgen::FileSystem& fs, const std::string& path) {
  static_cast<void>(fs.RemoveFile(path));
}

void RemoveIfThere(const mapgen::FileSystem& fs, const QString& path) {
  RemoveIfThere(fs, NativePath(path));
}

CopyOutcome CopyPage(const mapgen::FileSystem& fs, const QString& source,
                     const QString& destination, bool removeSource,
                     mapgen::StagedSitemap* sitemap) {
  CopyOutcome outcome;
  const std::string target = NativePath(destination);
  if (!SameFile(fs, source, destination)) {
    if (auto copied = mapgen::CopyMapFile(fs, NativePath(source), target);
        !copied) {
      outcome.failure = std::move(copied).failure();
      return outcome;
    }
    if (removeSource) RemoveIfThere(fs, source);
  }
  outcome.copied = true;
  if (sitemap == nullptr) return outcome;
  if (auto placed = sitemap->Place(fs, mapgen::ParentFolder(target)); !placed) {
    outcome.failure = std::move(placed).failure();
  }
  return outcome;
}

}  // namespace tessary
