#pragma once

#include <string>
#include <string_view>

namespace mapgen {

// The value of a hexadecimal digit in either letter case; -1 for any other
// character.
int HexDigitValue(char c);

// Whether `text` begins with a percent-encoded byte ("%2F", "%e9").
bool BeginsPercentEncoded(std::string_view text);

// The text with each percent-encoded byte read back; a "%" that begins
// none stays as it is.
std::string PercentDecoded(std::string_view text);

}  // namespace mapgen
