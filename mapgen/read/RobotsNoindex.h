#pragma once

#include <cstddef>
#include <string_view>

#include "MetaTags.h"

namespace mapgen {

// How far into a page its head is searched for a robots meta tag; the
// reader need not read further.
inline constexpr std::size_t kRobotsSearchBytes = 64 * 1024;

// Whether one meta tag of a page's head, in its first kRobotsSearchBytes,
// is a <meta name="robots"> whose content says "noindex" (or "none", which
// search engines read as noindex and nofollow), so the XML sitemap leaves
// the page out. Names and words match in any letter case.
bool AsksNoindex(const TagAttributes& meta);

}  // namespace mapgen
