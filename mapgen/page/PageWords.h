#pragma once

#include <string_view>

namespace mapgen {

// What both templates say and count alike.

// The footer of every page: its words, then a link to the home page.
inline constexpr std::string_view kFooterWords =
    "This webpage generated using <b>Tessary</b> by ";
inline constexpr std::string_view kHomePage = "https://corvale.example";
inline constexpr std::string_view kMakerName = "Corvale Software";

// How often `ch` occurs in `str` after its first character; overlapping
// occurrences of a longer `ch` each count.
int CountCharacters(std::string_view str, std::string_view ch);

// How many levels `folder` lies below `base`: 0 for the base itself.
int IndentLevel(std::string_view folder, std::string_view base);

}  // namespace mapgen
