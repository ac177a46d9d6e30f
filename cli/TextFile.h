#pragma once

#include <string>

namespace cli {

// Reads the whole file at `path` into `text`, bytes unchanged; false with
// `reason` set, in the system's words, when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& text,
                   std::string& reason);

}  // namespace cli
