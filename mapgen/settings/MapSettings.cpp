#include "MapSettings.h"

#include "MapField.h"

namespace mapgen {

MapSettings::MapSettings() {
  for (const MapField& field : MapFields()) field.Reset(*this);
}

int SelectedStyle(const MapSettings& settings) {
  if (settings.optStyle[0]) return 1;
  if (settings.optStyle[1]) return 2;
  if (settings.optStyle[3]) return 4;
  return 3;
}

bool ShowsTitles(const MapSettings& settings) {
  const int style = SelectedStyle(settings);
  return style == 1 || style == 2;
}

bool IsModern(const MapSettings& settings) {
  return settings.cmbTemplate == kModernTemplate;
}

void SelectStyle(MapSettings& settings, std::size_t index) {
  settings.optStyle.fill(false);
  settings.optStyle.at(index) = true;
}

}  // namespace mapgen
