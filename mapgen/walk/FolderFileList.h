#pragma once

#include "FileSystem.h"
#include "NameList.h"
#include "SkipRules.h"

namespace mapgen {

// The names a folder shows on the page, in page order: every file of the
// first listed extension, then of the second, and so on; each group in
// ordinal order. A link is marked.
using FolderFileList = NameList;

// Lists the files of an open folder that the page shows, in page order.
Outcome<FolderFileList> ListShownFiles(FolderHandle& folder,
                                       const SkipRules& rules);

}  // namespace mapgen
