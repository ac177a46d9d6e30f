#include "SettingsCheck.h"

#include <algorithm>

namespace mapgen {

std::optional<SettingsProblem> CheckSettings(const MapSettings& settings) {
  const std::string& name = settings.cmbTemplate;
  if (!name.empty() && std::find(kTemplateNames.begin(), kTemplateNames.end(),
                                 name) == kTemplateNames.end()) {
    return SettingsProblem{"cmbTemplate",
                           "the template is classic or modern, not " + name};
  }
  // The sitemap's addresses are the site URL followed by each file's path:
  // without one there are no addresses to write.
  if (!settings.txtSitemapXml.empty() && settings.txtSiteUrl.empty()) {
    return SettingsProblem{"txtSiteUrl",
                           "an XML sitemap (txtSitemapXml) needs the site URL "
                           "its addresses start with"};
  }
  return std::nullopt;
}

}  // namespace mapgen
