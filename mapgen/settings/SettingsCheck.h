#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "MapSettings.h"

namespace mapgen {

// The page templates cmbTemplate names; empty means the first.
inline constexpr std::array<std::string_view, 2> kTemplateNames = {
    kClassicTemplate, kModernTemplate};

// A setting that no build can use, whichever way it was set: the field
// table takes any text in a text field, but some texts mean nothing.
struct SettingsProblem {
  std::string field;   // its name in the field table: "cmbTemplate"
  std::string reason;  // what is wrong with it, in words
};

// The first setting that a build cannot use; nothing when all can be used.
std::optional<SettingsProblem> CheckSettings(const MapSettings& settings);

}  // namespace mapgen
