#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"
#include "FolderTree.h"
#include "WalkOptions.h"

namespace mapgen {

// Collects the folders one map covers: `dirctry` alone, or with
// `options.all` every real folder below it at any depth, each reached from
// its parent and never through a link; one known to hold no folders is not
// opened, nor one that the skip rules leave out. A subfolder that cannot be
// listed counts as one without subfolders or files. Fails when the base
// folder cannot be read or the machine runs short. An empty list when asked
// to stop. The base folder comes first, then every folder below it, in
// ordinal order of the full paths; the folders are held as a FolderTree,
// so that neither a wide folder nor a deep one makes the list large.
Outcome<FolderList> GetSubDirectories(const FileSystem& fs,
                                      const std::string& dirctry,
                                      const WalkOptions& options);

}  // namespace mapgen
