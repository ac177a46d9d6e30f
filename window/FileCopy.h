#pragma once

#include <string>

#include "FileSystem.h"
#include "StagedSitemap.h"

namespace tessary {

// Paths here are the file system's bytes.

// Whether both names lead to one file on disk (false when either is
// missing), however they are spelt.
bool SameFile(const mapgen::FileSystem& fs, const std::string& first,
              const std::string& second);

// Removes the file at `path` where it can: a temporary page left behind
// is nothing the user could act on.
void RemoveIfThere(const mapgen::FileSystem& fs, const std::string& path);

// Where a copy of the map's page ended.
struct CopyOutcome {
  bool copied = false;  // the destination holds the page
  // Why not; or, with the page copied, why its XML sitemap is not beside
  // it. Empty when all went well.
  mapgen::Failure failure;
};

// Copies the page to `destination`, unless that is the page itself, and
// puts the page's XML sitemap, if it has one, beside it: one set, as the
// core writes a build's files (see OutputSet), so no link at a name is
// followed and either every file is replaced or the failure names those
// that were. Then removes `source` when asked to. It waits for the disk,
// so the window runs it off its own thread.
CopyOutcome CopyPage(const mapgen::FileSystem& fs, const std::string& source,
                     const std::string& destination, bool removeSource,
                     mapgen::StagedSitemap* sitemap = nullptr);

}  // namespace tessary
