#pragma once

#include <cstddef>
#include <limits>
#include <string>

#include "Outcome.h"

namespace mapgen {

// The bytes of the file at `path`, unchanged, but no more than `limit` of
// them; pipes too.
Outcome<std::string> ReadWholeFile(
    const std::string& path,
    std::size_t limit = std::numeric_limits<std::size_t>::max());

}  // namespace mapgen
