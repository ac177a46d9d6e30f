#pragma once

#include <cstddef>
#include <string>

#include "BuildObserver.h"
#include "FileSystem.h"
#include "MapSettings.h"
#include "PageSink.h"

namespace mapgen {

struct BuildResult {
  enum class Outcome { kBuilt, kStopped, kFailed, kNotWritten };
  Outcome outcome = Outcome::kBuilt;
  // Failed: the folder that could not be read. Not written: the page's
  // path, and why.
  Failure failure;
  // What the page lists, for a closing summary.
  std::size_t folders = 0, files = 0, webPages = 0;
};

// The most threads a build reads with at once: enough reads in flight for
// a cold disk. A build starts them only as work waits for them.
inline constexpr unsigned kMostBuildThreads = 16;

// Builds the map page of `settings.txtDir`, reading the file system through
// `fs`, and writes it to `sink` folder by folder as it goes, never holding
// the whole page. Folders are listed and page titles read on up to
// `threads` threads; the page is the same for any count. Fails when the
// base folder cannot be read, or when descriptors or memory run out, since
// a page built then could silently miss folders; anything else unreadable
// below the base is reported to the observer and counts as empty. A sink
// that cannot take the page ends the build as not written.
BuildResult BuildMap(const MapSettings& settings, const FileSystem& fs,
                     BuildObserver& observer, PageSink& sink,
                     unsigned threads = kMostBuildThreads);

// Builds the map page into the file `path`, opened as MapFileWriter opens
// it once the folders are known to be readable. The page takes the path's
// place only when the build succeeds: a failed or stopped build leaves
// what stood there as it was, and no file of its own.
BuildResult BuildMapFile(const MapSettings& settings, const FileSystem& fs,
                         BuildObserver& observer, const std::string& path,
                         unsigned threads = kMostBuildThreads);

}  // namespace mapgen
