#include "FileCopy.h"

#include "MapFile.h"
#include "NativePath.h"

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
                     const QString& destination, bool removeSource) {
  CopyOutcome outcome;
  if (SameFile(fs, source, destination)) return {true, {}};
  if (!mapgen::CopyMapFile(fs, NativePath(source), NativePath(destination),
                           outcome.failure)) {
    return outcome;
  }
  if (removeSource) RemoveIfThere(fs, source);
  outcome.copied = true;
  return outcome;
}

}  // namespace tessary
