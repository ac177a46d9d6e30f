#include "SettingValues.h"

#include <charconv>
#include <cstdint>

namespace cli {
namespace {

constexpr std::uint64_t kLargestColour = 0xFFFFFF;

// A setting must be digits only: from_chars stops at the first other
// character, so the whole text must have been used.
bool ParseWhole(std::string_view digits, int base, std::uint64_t& number) {
  if (digits.empty()) return false;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, number, base);
  return error == std::errc() && stop == end;
}

}  // namespace

bool ParseCheckState(std::string_view text, mapgen::CheckState& state) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '2') return false;
  state = text[0] - '0';
  return true;
}

bool ParseColourNumber(std::string_view text, mapgen::Colour& colour) {
  const bool hex = text.starts_with("0x") || text.starts_with("0X");
  if (hex) text.remove_prefix(2);
  std::uint64_t number = 0;
  if (!ParseWhole(text, hex ? 16 : 10, number) || number > kLargestColour) {
    return false;
  }
  colour = static_cast<mapgen::Colour>(number);
  return true;
}

bool ParseHtmlColour(std::string_view rrggbb, mapgen::Colour& colour) {
  std::uint64_t rgb = 0;
  if (rrggbb.size() != 6 || !ParseWhole(rrggbb, 16, rgb)) return false;
  const auto red = (rgb >> 16) & 0xFF;
  const auto green = (rgb >> 8) & 0xFF;
  const auto blue = rgb & 0xFF;
  colour = static_cast<mapgen::Colour>(blue << 16 | green << 8 | red);
  return true;
}

std::string WithCrLfBreaks(std::string_view text) {
  std::string converted;
  converted.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool bareLineFeed =
        text[i] == '\n' && (i == 0 || text[i - 1] != '\r');
    if (bareLineFeed) converted += '\r';
    converted += text[i];
  }
  return converted;
}

void SelectStyle(mapgen::MapSettings& settings, std::size_t index) {
  settings.optStyle.fill(false);
  settings.optStyle.at(index) = true;
}

}  // namespace cli
