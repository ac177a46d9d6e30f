#pragma once

#include <string>
#include <string_view>

#include "MapSettings.h"

namespace mapgen {

// Whether the page declares UTF-8, as asked, or as an HTML5 page always
// does; its names and titles are then UTF-8 throughout.
bool DeclaresUtf8(const MapSettings& settings);

// How one build writes its page, worked out once from the settings and
// from where the page is read.
struct PageFormat {
  // `base` is the base folder as the walk names its folders;
  // `toBase` the way to it from the page's folder (see RelativeLinkBase),
  // empty for a page in the base folder.
  PageFormat(const MapSettings& settings, std::string base,
             std::string toBase = {});

  const MapSettings& settings;
  const std::string base;
  // What every file link begins with, before the file's path below the
  // base folder: txtLinkPrefix as given, or without one the way from the
  // page's folder to the base folder ("../site/"), empty when the page is
  // in the base folder.
  const std::string linkStart;
  const bool userPrefix;  // linkStart is txtLinkPrefix
  const bool utf8;
  // Names and titles as text, links quoted and percent-encoded: with safe
  // links, and always on the modern page.
  const bool safe;
  const int style;
};

}  // namespace mapgen
