#include "Colour.h"

#include <charconv>
#include <cstdio>

namespace mapgen {

std::string ColorToHex(Colour colour) {
  const Rgb rgb = RgbOf(colour);
  char digits[8];
  std::snprintf(digits, sizeof digits, "%02X%02X%02X", rgb.red, rgb.green,
                rgb.blue);
  return digits;
}

bool ParseHtmlColour(std::string_view rrggbb, Colour& colour) {
  std::uint32_t rgb = 0;
  const char* end = rrggbb.data() + rrggbb.size();
  const auto [stop, error] = std::from_chars(rrggbb.data(), end, rgb, 16);
  if (rrggbb.size() != 6 || error != std::errc() || stop != end) return false;
  colour = ColourOf({static_cast<std::uint8_t>(rgb >> 16),
                     static_cast<std::uint8_t>(rgb >> 8),
                     static_cast<std::uint8_t>(rgb)});
  return true;
}

}  // namespace mapgen
