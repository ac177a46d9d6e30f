#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mapgen {

// The text of a robots.txt file, `existing` (empty for none), with the
// line "Sitemap: URL" for the sitemap at `url` added at its end: every
// other byte as it was, and the line ending its lines already use (CRLF
// or LF). Nothing when a line names that sitemap already (the field's
// name in any letter case, blanks and a comment around the address).
std::optional<std::string> RobotsTxtWithSitemap(std::string_view existing,
                                                std::string_view url);

// Whether `url` is served below its host's root ("https://example.org/a/"),
// where crawlers never look for robots.txt.
bool IsBelowHostRoot(std::string_view url);

}  // namespace mapgen
