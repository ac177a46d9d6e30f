#pragma once

#include <locale.h>

#include <string>
#include <string_view>

namespace mapgen {

// The C.UTF-8 locale, so that text rules never depend on the process's own
// locale; null when the system lacks it.
locale_t Utf8Locale();

// Upper-cases UTF-8 text one character for one (simple case mapping), so a
// character's position never shifts. Bytes that are not valid UTF-8 pass
// through unchanged.
std::string UpperCase(std::string_view text);

}  // namespace mapgen
