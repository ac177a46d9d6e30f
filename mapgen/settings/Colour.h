#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mapgen {

// A colour laid out 0x00BBGGRR: red in the lowest byte, blue in the third,
// as the settings store it.
using Colour = std::uint32_t;

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
};

constexpr Rgb RgbOf(Colour colour) {
  return {static_cast<std::uint8_t>(colour & 0xFF),
          static_cast<std::uint8_t>(colour >> 8 & 0xFF),
          static_cast<std::uint8_t>(colour >> 16 & 0xFF)};
}

constexpr Colour ColourOf(Rgb rgb) {
  return static_cast<Colour>(rgb.blue) << 16 |
         static_cast<Colour>(rgb.green) << 8 | rgb.red;
}

// The colour as HTML writes it: six upper-case hexadecimal digits, red first.
std::string ColorToHex(Colour colour);

// Six hexadecimal digits in the order HTML writes them; false, with
// `colour` untouched, for any other text.
bool ParseHtmlColour(std::string_view rrggbb, Colour& colour);

}  // namespace mapgen
