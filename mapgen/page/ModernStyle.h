#pragma once

#include <string>

#include "MapSettings.h"

namespace mapgen {

// Appends the modern page's one <style> element: its own sheet, then a
// rule for each option of the classic page that is set (font, colours,
// sizes, alignment, background, indentation, bullets, lines), and, when no
// colour is chosen, the reader's light or dark system colours.
void AppendModernStyle(const MapSettings& settings, std::string& out);

}  // namespace mapgen
