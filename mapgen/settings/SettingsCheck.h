#pragma once

#include <array>
#include <string_view>

#include "MapSettings.h"
#include "Outcome.h"

namespace mapgen {

// The page templates cmbTemplate names; empty means the first.
inline constexpr std::array<std::string_view, 2> kTemplateNames = {
    kClassicTemplate, kModernTemplate};

// Whether `tag` has the shape of a language tag (BCP 47) as <html lang>
// takes it: subtags of one to eight letters or digits joined by "-", the
// first of letters only, 35 characters in all at most.
inline constexpr std::size_t kLongestLanguageTag = 35;
bool IsLanguageTag(std::string_view tag);

// Fails at the first setting that no build can use, whichever way it was
// set, the failure's path its field's name ("cmbTemplate"): the field
// table takes any text in a text field, but some texts mean nothing.
Outcome<void> CheckSettings(const MapSettings& settings);

}  // namespace mapgen
