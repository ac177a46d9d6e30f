#include "MapSettings.h"

namespace mapgen {

int SelectedStyle(const MapSettings& settings) {
  if (settings.optStyle[0]) return 1;
  if (settings.optStyle[1]) return 2;
  if (settings.optStyle[3]) return 4;
  return 3;
}

}  // namespace mapgen
