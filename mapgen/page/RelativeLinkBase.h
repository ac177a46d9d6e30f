#pragma once

#include <string>
#include <string_view>

#include "Outcome.h"

namespace mapgen {

// What a page written outside the base folder puts before each link so
// that it still reaches the file: the relative path from the page's folder
// to the base folder, ending in "/" ("../site/" for the page folder /w/out
// and the base /w/site), or empty when they are the same folder. A
// relative folder is taken from the current folder, which fails when that
// cannot be told.
//
// The path is worked out from the names alone, ".." dropping the name
// before it, as a browser resolves "../" in an address; it is a link
// target like the names after it and is escaped with them. A page written
// to standard output ("-o -") counts as a page in the base folder: the
// caller passes the base folder for both.
Outcome<std::string> RelativeLinkBase(const std::string& pageFolder,
                                      const std::string& baseFolder);

}  // namespace mapgen
