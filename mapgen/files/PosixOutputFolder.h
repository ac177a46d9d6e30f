#pragma once

#include <memory>
#include <string>

#include "FileSystem.h"

namespace mapgen {

// The writing side of the real file system: the folder at `path`, opened
// once, that a page goes into, its temporary files, and the streams a page
// may be written to.
Outcome<std::unique_ptr<OutputFolder>> OpenPosixOutputFolder(
    const std::string& path);

}  // namespace mapgen
