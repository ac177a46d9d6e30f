#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "FileSystem.h"

namespace mapgen {

// A title longer than this is cut to it, so a hostile page cannot fill the
// memory.
inline constexpr std::size_t kMaxTitleBytes = 64 * 1024;

// The text after the opening tag `startstrg` (letter case ignored, so
// "<TITLE" also finds "<title lang=en>") and its ">", up to the closing text
// `endstrg` or the end of that line, from the first line that gives a
// non-empty text. Lines end at a carriage return, so a file with line feeds
// alone is one long line. The file is read as a stream and no further than
// the title's line. Blanks around the title are kept. A file that cannot be
// read gives the empty title, with the reason in `failure` when asked for.
std::string FileTitle(const FileSystem& fs, std::string_view Path,
                      std::string_view Filename, std::string_view startstrg,
                      std::string_view endstrg, Failure* failure = nullptr);

}  // namespace mapgen
