#pragma once

#include <array>
#include <string_view>

#include "MapSettings.h"
#include "Outcome.h"

namespace mapgen {

// The page templates cmbTemplate names; empty means the first.
inline constexpr std::array<std::string_view, 2> kTemplateNames = {
    kClassicTemplate, kModernTemplate};

// Fails at the first setting that no build can use, whichever way it was
// set, the failure's path its field's name ("cmbTemplate"): the field
// table takes any text in a text field, but some texts mean nothing.
Outcome<void> CheckSettings(const MapSettings& settings);

}  // namespace mapgen
