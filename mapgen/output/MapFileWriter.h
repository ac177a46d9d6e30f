#pragma once

#include <string>
#include <string_view>

#include "FileSystem.h"
#include "OutputSet.h"

namespace mapgen {

// Writes `text` as the one file of a set (see OutputSet) at `target`.
Outcome<void> WriteMapFile(const FileSystem& fs, const OutputTarget& target,
                           std::string_view text);

// Copies what is left to read of `source` to `target`, in pieces,
// whatever its size.
Outcome<void> CopyAll(FileReader& source, PageSink& target);

}  // namespace mapgen
