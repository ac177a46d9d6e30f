#pragma once

#include <string>
#include <string_view>

#include "FileSystem.h"
#include "StopCheck.h"

namespace mapgen {

// The title that a TitleScanner finds between `startstrg` and `endstrg`
// in a page read through ReadPageStart, as a build reads it; the empty
// title for a page that cannot be read.
std::string FileTitle(FileReader& page, std::string_view startstrg,
                      std::string_view endstrg,
                      const StopCheck& stop = StopCheck());

}  // namespace mapgen
