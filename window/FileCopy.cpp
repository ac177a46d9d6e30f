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

void RemoveIfThere(const mapgen::FileSystem& fs, const QString& path) {
  mapgen::Failure ignored;
  fs.RemoveFile(NativePath(path), ignored);
}

CopyOutcome CopyPage(const mapgen::FileSystem& fs, const QString& source,
                     const QString& destination, bool removeSource,
                     mapgen::StagedSitemap* sitemap) {
  CopyOutcome outcome;
  const std::string target = NativePath(destination);
  if (!SameFile(fs, source, destination)) {
    if (!mapgen::CopyMapFile(fs, NativePath(source), target, outcome.failure)) {
      return outcome;
    }
    if (removeSource) RemoveIfThere(fs, source);
  }
  outcome.copied = true;
  if (sitemap != nullptr) {
    sitemap->Place(fs, mapgen::ParentFolder(target), outcome.failure);
  }
  return outcome;
}

}  // namespace tessary
