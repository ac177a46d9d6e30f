#pragma once

#include <cstddef>
#include <limits>
#include <string>

namespace mapgen {

// Reads the file at `path` into `text`, bytes unchanged, but no more than
// `limit` bytes of it; pipes too. False with `reason` set when it cannot be
// read.
bool ReadWholeFile(const std::string& path, std::string& text,
                   std::string& reason,
                   std::size_t limit = std::numeric_limits<std::size_t>::max());

}  // namespace mapgen
