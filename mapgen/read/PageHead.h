#pragma once

#include <string>

#include "FileSystem.h"
#include "StopCheck.h"

namespace mapgen {

// What a build wants from the start of a web page.
struct HeadReading {
  bool title = true;    // its title, as a TitleScanner finds it
  bool utf8 = false;    // the title as UTF-8, from the page's own set
  bool robots = false;  // whether its head asks not to be indexed
};

struct PageHead {
  std::string title;
  bool noindex = false;
};

// Reads a web page from its start, no further than `reading` needs: up to
// its title, and for `robots` to the end of its head ("</head" or
// "<body") or kRobotsSearchBytes. With `utf8`, the title is converted from
// the character set that the bytes read by then declare (see
// DeclaredCharset), and a page that begins with a UTF-16 byte-order mark
// is decoded as it is read, so that its tags can be found; only such pages
// pay for decoding.
Outcome<PageHead> ReadPageHead(FileReader& page, const HeadReading& reading,
                               const StopCheck& stop);

}  // namespace mapgen
