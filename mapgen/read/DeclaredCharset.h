#pragma once

#include <string>
#include <string_view>

#include "MetaTags.h"

namespace mapgen {

// The character set a page declares in its first bytes (those already read
// for its title): a byte-order mark ("UTF-8", "UTF-16LE", "UTF-16BE"),
// else the encoding of an XML declaration at the very start, else the
// first <meta charset> or <meta http-equiv="Content-Type"
// content="...charset=..."> of the head. Only labels browsers know count
// (see EncodingOfLabel): a page declaring "utf-32" declares nothing. The
// label comes as written, blanks trimmed; empty when the page declares
// none.
//
// A declaration that these ASCII bytes could be found in cannot be UTF-16,
// so a UTF-16 label ("utf-16", "ucs-2") found by the scan gives "UTF-8", as
// browsers decide. The reader looks at the meta tags for more than this and
// passes over them once: `metaCharset` is what the first one that declares
// a charset declares (see MetaTagCharset).
std::string DeclaredCharset(std::string_view head,
                            std::string_view metaCharset);

// The charset that the byte-order mark `start` begins with names:
// "UTF-8", "UTF-16LE" or "UTF-16BE"; empty when it begins with none.
std::string_view ByteOrderMarkCharset(std::string_view start);

// The charset that one meta tag declares; empty when it declares none, or
// one browsers do not know.
std::string_view MetaTagCharset(const TagAttributes& meta);

}  // namespace mapgen
