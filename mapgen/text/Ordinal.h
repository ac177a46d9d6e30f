#pragma once

#include <string_view>

namespace mapgen {

// Ordinal order: texts compared by their UTF-16 code units, case-sensitive,
// a proper prefix first. Each byte that is not valid UTF-8 counts as the
// lone code unit 0xDC00 + byte, so every byte string has its place and the
// order stays total.
bool OrdinalLess(std::string_view a, std::string_view b);

}  // namespace mapgen
