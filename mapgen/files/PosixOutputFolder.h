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

// The folder `below` of the folder `base`, each folder after `base` opened
// from the one before and never through a link (see
// FileSystem::OpenOutputFolderBelow).
Outcome<std::unique_ptr<OutputFolder>> OpenPosixOutputFolderBelow(
    const std::string& base, const std::string& below);

}  // namespace mapgen
