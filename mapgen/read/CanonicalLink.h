#pragma once

#include <optional>
#include <string_view>

#include "MetaTags.h"

namespace mapgen {

// The address that a <link rel="canonical"> tag of a page's head names,
// as its href attribute holds it; nothing for any other link. The rel
// attribute is a list of words in any letter case.
std::optional<std::string_view> CanonicalHref(const TagAttributes& link);

}  // namespace mapgen
