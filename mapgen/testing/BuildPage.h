#pragma once

#include <string>

#include "BuildMap.h"

namespace mapgen {

// A build's outcome with the page it wrote, as far as it got.
struct BuiltPage : BuildResult {
  std::string mapText;
};

// Builds the page into memory, as read from `placement.folder`.
BuiltPage BuildPage(const MapSettings& settings, const FileSystem& fs,
                    BuildObserver& observer,
                    unsigned threads = kMostBuildThreads,
                    const PagePlacement& placement = {});

}  // namespace mapgen
