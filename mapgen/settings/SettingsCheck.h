#pragma once

#include <array>
#include <string_view>

#include "MapSettings.h"
#include "Outcome.h"

namespace mapgen {

// The page templates cmbTemplate names; empty means the first.
inline constexpr std::array<std::string_view, 2> kTemplateNames = {
    kClassicTemplate, kModernTemplate};

// Fails at the first setting that no build can use with the others,
// whichever way it was set, the failure's path its field's name
// ("txtSiteUrl"). Each value on its own is its field's to check (see
// CheckFields).
Outcome<void> CheckSettings(const MapSettings& settings);

}  // namespace mapgen
