#pragma once

#include <string_view>

#include "MetaTags.h"

namespace mapgen {

// Whether one meta tag of a page's head is a robots tag, for all search
// engines ("robots") or for one whose index a sitemap feeds ("googlebot",
// "bingbot"), whose content says "noindex" (or "none", which search
// engines read as noindex and nofollow), so the XML sitemap leaves the
// page out. Names and words match in any letter case.
bool AsksNoindex(const TagAttributes& meta);

}  // namespace mapgen
