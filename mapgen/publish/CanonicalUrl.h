#pragma once

#include <string>
#include <string_view>

namespace mapgen {

// How a page's <link rel="canonical"> stands to the address the sitemap
// would list the page at.
enum class CanonicalMatch {
  kSame,         // the page names itself: list it
  kOtherScheme,  // itself but for http against https: list it, and warn
  kElsewhere,    // another address is the page's own: leave it out
};

// Compares the canonical link `href`, as its attribute holds it
// (character references such as "&amp;" not yet read), with `pageUrl`,
// the address the page is served at. The link is resolved against that
// address, and both are compared as search engines compare them: scheme
// and host in any letter case, a port left out where it is the scheme's
// own, a path's bytes alike whether percent-encoded or not, "index.html"
// or "index.htm" the same as its folder ("dir/"), the fragment ignored.
CanonicalMatch CompareCanonical(std::string_view href,
                                std::string_view pageUrl);

// The address as that comparison reads it: resolved against `base` and
// normalised as above; empty when it is no address (no scheme after
// resolving).
std::string NormalisedUrl(std::string_view reference, std::string_view base);

}  // namespace mapgen
