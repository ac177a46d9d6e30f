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
  mapgen::Failure ignored;
  fs.RemoveFile(path, ignored);
}

CopyOutcome CopyPage(const mapgen::FileSystem& fs, const std::string& source,
                     const std::string& destination, bool removeSource,
                     mapgen::StagedSitemap* sitemap) {
  CopyOutcome outcome;
  if (!SameFile(fs, source, destination)) {
    if (!mapgen::CopyMapFile(fs, source, destination, outcome.failure)) {
      return outcome;
    }
    if (removeSource) RemoveIfThere(fs, source);
  }
  outcome.copied = true;
  if (sitemap != nullptr) {
    sitemap->Place(fs, mapgen::ParentFolder(destination), outcome.failure);
  }
  return outcome;
}

}  // namespace tessary
