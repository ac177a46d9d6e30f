#pragma once

#include <string>

#include "FileSystem.h"
#include "MapSettings.h"
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
  // Why not; or, with the page in place, why a piece of an earlier
  // sitemap could not be removed. Empty when all went well.
  mapgen::Failure failure;
};

// The XML sitemap a build staged, which Save puts beside the saved page,
// with what the build's settings say of where it is served and of the
// robots file that names it.
struct SitemapAtSave {
  SitemapAtSave(const std::string& stagingFolder,
                const mapgen::MapSettings& settings)
      : files(stagingFolder),
        base(settings.txtDir),
        siteUrl(settings.txtSiteUrl),
        robotsTxt(settings.txtRobotsTxt) {}

  mapgen::StagedSitemap files;
  std::string base;
  std::string siteUrl;
  std::string robotsTxt;  // from the saved page's folder; empty for none
};

// Copies the page to `destination`, unless that is the page itself, and
// puts the page's XML sitemap, if it has one, beside it, with the robots
// file that names it: one set, replaced as the core replaces a page's
// files, each whole, old or new, never half written. Then removes
// `source` when asked to. It waits for the disk, so the window runs it
// off its own thread.
CopyOutcome CopyPage(const mapgen::FileSystem& fs, const std::string& source,
                     const std::string& destination, bool removeSource,
                     const SitemapAtSave* sitemap = nullptr);

}  // namespace tessary
