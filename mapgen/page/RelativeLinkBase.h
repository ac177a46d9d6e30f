#pragma once

#include <string>
#include <string_view>

namespace mapgen {

// What a page written outside the base folder puts before each link so
// that it still reaches the file: the relative path from the page's folder
// to the base folder, ending in "/" ("../site/" for the page folder /w/out
// and the base /w/site), or empty when they are the same folder.
//
// Both folders are absolute and normalised (no "." or ".." segments, no
// trailing "/" but the root's). The path is worked out from the names
// alone, as a browser resolves "../" in an address; it is a link target
// like the names after it and is escaped with them. A page written to
// standard output ("-o -") counts as a page in the base folder: the caller
// passes the base folder for both.
std::string RelativeLinkBase(std::string_view pageFolder,
                             std::string_view baseFolder);

}  // namespace mapgen
