#pragma once

#include <string_view>

namespace mapgen {

// Opens `path` as open(2) does with `flags`, also when the path is longer
// than the system's limit for one call: a leading part is opened first and
// the rest relative to it. Links along the path are followed as open(2)
// follows them. Returns the descriptor, or -1 with errno set.
int OpenLongPath(std::string_view path, int flags);

}  // namespace mapgen
