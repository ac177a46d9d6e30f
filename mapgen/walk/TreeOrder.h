#pragma once

#include <string_view>

#include "GetSubDirectories.h"

namespace mapgen {

// Whether folder path `a` comes before `b` in the order of a nested tree:
// compared name by name in ordinal order, so that every folder is followed
// by all the folders below it before its next sibling ("docs",
// "docs/api", "docs-old", where ordinal order of the full paths puts
// "docs-old" between the first two).
bool TreeLess(std::string_view a, std::string_view b);

// Puts a walk's folders in tree order, for a page that nests them.
void PutInTreeOrder(FolderList& folders);

}  // namespace mapgen
