#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "MapSettings.h"

namespace cli {

// Sets the settings field named `name` ("txtTitle", "chkColor(3)") from
// `value`: a check box takes 0, 1 or 2 (2 is greyed), but one the window
// never greys (chkSafeLinks) takes 0 or 1; an entry style button takes only 1,
// which selects it; a colour takes its stored number; a text takes the value
// exactly as given. False with `problem` set, and the settings unchanged,
// when there is no such field or the value does not suit it.
bool SetField(mapgen::MapSettings& settings, std::string_view name,
              std::string_view value, std::string& problem);

// The names SetField knows, in the order of the settings record.
std::vector<std::string> FieldNames();

}  // namespace cli
