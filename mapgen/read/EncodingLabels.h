#pragma once

#include <string_view>

namespace mapgen {

// The character set a label names, read as browsers read labels: blanks
// around it dropped, letter case ignored, and only the labels browsers
// know (the WHATWG Encoding Standard's), each to the set browsers decode
// it as (ISO-8859-1 and US-ASCII as windows-1252, Shift_JIS as
// Windows-31J). The set comes by the name iconv knows it by; "UTF-8" for
// UTF-8 and nothing for a label browsers do not know ("utf-32"), which
// declares nothing.
std::string_view EncodingOfLabel(std::string_view label);

// Sets that decode to one U+FFFD whatever the bytes (ISO-2022-KR, HZ and
// other sets through which a page could smuggle markup past a filter).
inline constexpr std::string_view kReplacementEncoding = "replacement";

// Whether `encoding` (see EncodingOfLabel) is one of the two UTF-16 sets,
// whose labels a declaration written in ASCII bytes cannot mean.
bool IsUtf16Encoding(std::string_view encoding);

}  // namespace mapgen
