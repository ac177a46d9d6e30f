#pragma once

#include <string>
#include <vector>

#include "BuildObserver.h"
#include "FileSystem.h"

namespace mapgen {

// A folder that the map covers, with the files its listing gave, so that no
// folder is read twice.
struct Folder {
  std::string path;
  std::vector<std::string> files;
  std::string failure;  // why it could not be listed; empty when it could
};

// The base folder first, then every folder below it, in ordinal order of
// the full paths.
using FolderList = std::vector<Folder>;

// Collects the folders one map covers: `dirctry` alone, or with `all` every
// real folder below it at any depth. Folders are listed on `threads`
// threads; the order never depends on it. A folder that cannot be listed
// counts as one without subfolders or files. An empty list when the
// observer asks the build to stop.
FolderList GetSubDirectories(const FileSystem& fs, const std::string& dirctry,
                             bool all, unsigned threads,
                             const BuildObserver& observer);

}  // namespace mapgen
