#pragma once

#include <ostream>

#include "MapSettings.h"

namespace mapgen {

// How tests show a settings record: the base folder and every field that
// differs from its initial value, "FIELD=VALUE" each.
void PrintTo(const MapSettings& settings, std::ostream* out);

}  // namespace mapgen
