#pragma once

#include <cstddef>
#include <string>

#include "BuildObserver.h"
#include "FileSystem.h"
#include "MapSettings.h"

namespace mapgen {

struct BuildResult {
  enum class Outcome { kBuilt, kStopped, kFailed };
  Outcome outcome = Outcome::kBuilt;
  std::string mapText;  // the whole page, when built
  Failure failure;      // the base folder's trouble, when failed
  // What the page lists, for a closing summary.
  std::size_t folders = 0, files = 0, webPages = 0;
};

// A thread count that suits both a warm cache (one per core) and a cold one
// (enough reads in flight to keep the disk busy).
unsigned DefaultThreadCount();

// Builds the map page of `settings.txtDir`, reading the file system through
// `fs`. Folders are listed and page titles read on `threads` threads; the
// page is the same for any count. Fails when the base folder cannot be
// read, or when descriptors or memory run out, since a page built then
// could silently miss folders; anything else unreadable below the base is
// reported to the observer and counts as empty.
BuildResult BuildMap(const MapSettings& settings, const FileSystem& fs,
                     BuildObserver& observer,
                     unsigned threads = DefaultThreadCount());

}  // namespace mapgen
