#pragma once

#include <string>
#include <string_view>

#include "MetaTags.h"

namespace mapgen {

// The character set a page declares in its first bytes (those already read
// for its title): a byte-order mark ("UTF-8", "UTF-16LE", "UTF-16BE"),
// else the encoding of an XML declaration at the very start, else the
// first <meta charset> or <meta http-equiv="Content-Type"
// content="...charset=..."> of the head. The name comes as written, blanks
// trimmed; empty when the page declares none.
//
// A declaration that these ASCII bytes could be found in cannot be UTF-16,
// so a UTF-16 name found by the scan gives "UTF-8", as browsers decide.
std::string DeclaredCharset(std::string_view head);

// As DeclaredCharset, with the charset of the head's first meta tag that
// declares one already found (see MetaTagCharset), for a reader that
// looks at the meta tags for more than that and passes over them once.
std::string DeclaredCharset(std::string_view head,
                            std::string_view metaCharset);

// The charset that one meta tag declares; empty when it declares none.
std::string_view MetaTagCharset(const TagAttributes& meta);

// Whether pages in `charset` write their tags in other bytes than ASCII
// (UTF-16), so that a search for "<title" must run on decoded text.
bool TagsNeedDecoding(std::string_view charset);

}  // namespace mapgen
