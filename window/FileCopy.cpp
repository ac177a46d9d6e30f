#include "FileCopy.h"

#include "MapFileWriter.h"
#include "Paths.h"

namespace tessary {

bool SameFile(const mapgen::FileSystem& fs, const std::string& first,
              const std::string& second) {
  const auto a = fs.IdOf(first);
  return a && a == fs.IdOf(second);
}

void RemoveIfThere(const mapgen::FileSystem& fs, const std::string& path) {
  static_cast<void>(fs.RemoveFile(path));
}

CopyOutcome CopyPage(const mapgen::FileSystem& fs, const std::string& source,
                     const std::string& destination, bool removeSource,
                     mapgen::StagedSitemap* sitemap) {
  CopyOutcome outcome;
  if (!SameFile(fs, source, destination)) {
    if (auto copied = mapgen::CopyMapFile(fs, source, destination); !copied) {
      outcome.failure = std::move(copied).failure();
      return outcome;
    }
    if (removeSource) RemoveIfThere(fs, source);
  }
  outcome.copied = true;
  if (sitemap == nullptr) return outcome;
  if (auto placed = sitemap->Place(fs, mapgen::ParentFolder(destination));
      !placed) {
    outcome.failure = std::move(placed).failure();
  }
  return outcome;
}

}  // namespace tessary
