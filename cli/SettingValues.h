#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "MapSettings.h"

namespace cli {

// Setting values as a command line writes them. Each Parse function leaves
// its result untouched and returns false when the text is not such a value.

// "0", "1" or "2".
bool ParseCheckState(std::string_view text, mapgen::CheckState& state);

// The stored colour number, 0x00BBGGRR: decimal, or hexadecimal after "0x",
// from 0 to 0xFFFFFF.
bool ParseColourNumber(std::string_view text, mapgen::Colour& colour);

// Six hexadecimal digits in the order HTML writes them, red first.
bool ParseHtmlColour(std::string_view rrggbb, mapgen::Colour& colour);

// The text with every line break, LF or CRLF, made CRLF, the way the
// window's multi-line boxes hold it.
std::string WithCrLfBreaks(std::string_view text);

// Selects the entry style button `index` and clears the others.
void SelectStyle(mapgen::MapSettings& settings, std::size_t index);

}  // namespace cli
