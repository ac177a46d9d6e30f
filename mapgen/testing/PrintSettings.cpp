#include "PrintSettings.h"

#include "MapField.h"
#include "SettingsText.h"

namespace mapgen {

void PrintTo(const MapSettings& settings, std::ostream* out) {
  const MapSettings initial;
  *out << "{txtDir=" << EscapeSettingValue(settings.txtDir);
  for (const MapField& field : MapFields()) {
    const std::string value = field.Value(settings);
    if (value == field.Value(initial)) continue;
    *out << ", " << field.Name() << '=' << EscapeSettingValue(value);
  }
  *out << '}';
}

}  // namespace mapgen
