#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "BuildObserver.h"
#include "FileSystem.h"
#include "MapSettings.h"
#include "OutputSet.h"
#include "PageSink.h"
#include "SitemapWriter.h"
#include "StagedSitemap.h"

namespace mapgen {

struct BuildResult {
  // kSameOutput: two of the build's outputs are one file (see OutputSet),
  // so that nothing could be written.
  enum class Outcome { kBuilt, kStopped, kFailed, kNotWritten, kSameOutput };
  Outcome outcome = Outcome::kBuilt;
  // Failed: the folder that could not be read. Not written: the path of
  // the page or the sitemap, and why. Same output: which outputs, and the
  // path of the later one.
  Failure failure;
  // What the page lists, for a closing summary.
  std::size_t folders = 0, files = 0, webPages = 0;
  // The URLs in the XML sitemap, when there is one.
  std::size_t sitemapUrls = 0;
};

// Where a build's page is read from, and where its XML sitemap goes when
// the settings ask for one (txtSitemapXml).
struct PagePlacement {
  // The folder the page is read from, which its links lead from when
  // txtLinkPrefix is empty. Empty: the base folder for BuildMap, the
  // file's own folder for BuildMapFile (the base folder for a descriptor
  // such as /dev/stdout).
  std::string folder;
  // Takes the XML sitemap's files, staged by the build (which starts it)
  // under the last name of txtSitemapXml, for the caller to place once it
  // knows where, after a build that succeeded (the window places them at
  // Save). Null: the build writes the sitemap itself, in one set with the
  // page (see OutputSet), once the page is complete, and only then.
  StagedSitemap* stagedSitemap = nullptr;
  // Where the build writes the sitemap itself: a path or a descriptor
  // that the caller names (tessary-cli's --sitemap-xml). Nothing:
  // txtSitemapXml, taken relative to `folder`.
  std::optional<OutputTarget> sitemap;
  // Where the build writes the robots file that names the sitemap, as for
  // `sitemap`; nothing: txtRobotsTxt.
  std::optional<OutputTarget> robots;
  // The most one sitemap file holds; smaller only in tests.
  SitemapLimits sitemapLimits;
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
                     const PagePlacement& placement = {},
                     unsigned threads = kMostBuildThreads);

// Builds the map page into the file or descriptor `page`, one output of a
// set with the sitemap (see OutputSet), whose names are all checked before
// the walk. The page takes its place only when the build succeeds: a
// failed or stopped build leaves what stood there as it was, and no file
// of its own.
BuildResult BuildMapFile(const MapSettings& settings, const FileSystem& fs,
                         BuildObserver& observer, const OutputTarget& page,
                         const PagePlacement& placement = {},
                         unsigned threads = kMostBuildThreads);

}  // namespace mapgen
