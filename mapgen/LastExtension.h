#pragma once

#include <string>
#include <string_view>

namespace mapgen {

// The extension as the listing compares it when chkLastExtension is on:
// the text after the last "." of the name ("archive.tar.gz" gives "GZ"),
// or the whole name when it has none, upper-cased like ExtensionOf.
std::string LastExtensionOf(std::string_view name);

}  // namespace mapgen
