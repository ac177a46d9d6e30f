#pragma once

#include <cstddef>
#include <string_view>

#include "MetaTags.h"

namespace mapgen {

// How far into a page its head is searched for a robots meta tag; the
// reader need not read further.
inline constexpr std::size_t kRobotsSearchBytes = 64 * 1024;

// Whether the page's head, in its first kRobotsSearchBytes, holds a
// <meta name="robots"> whose content says "noindex" (or "none", which
// search engines read as noindex and nofollow), so the XML sitemap leaves
// it out. Names and words match in any letter case. A UTF-16 page is
// searched in its decoded text (see PageDecoder).
bool HasRobotsNoindex(std::string_view page);

// Whether one meta tag is such a robots tag.
bool AsksNoindex(const TagAttributes& meta);

}  // namespace mapgen
