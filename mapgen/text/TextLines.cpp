#include "TextLines.h"

namespace mapgen {

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

std::string WithLfBreaks(std::string_view text) {
  std::string converted;
  converted.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.substr(i, 2) != "\r\n") converted += text[i];
  }
  return converted;
}

}  // namespace mapgen
