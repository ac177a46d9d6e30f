#include "PageFormat.h"

namespace mapgen {

bool DeclaresUtf8(const MapSettings& settings) {
  return IsChecked(settings.chkUtf8) || IsModern(settings);
}

PageFormat::PageFormat(const MapSettings& settings, std::string base,
                       std::string toBase)
    : settings(settings),
      base(std::move(base)),
      linkStart(settings.txtLinkPrefix.empty() ? std::move(toBase)
                                               : settings.txtLinkPrefix),
      userPrefix(!settings.txtLinkPrefix.empty()),
      utf8(DeclaresUtf8(settings)),
      safe(IsChecked(settings.chkSafeLinks) || IsModern(settings)),
      style(SelectedStyle(settings)) {}

}  // namespace mapgen
