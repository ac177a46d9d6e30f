#include "SettingsCheck.h"

#include <algorithm>

namespace mapgen {

Outcome<void> CheckSettings(const MapSettings& settings) {
  const std::string& name = settings.cmbTemplate;
  if (!name.empty() && std::find(kTemplateNames.begin(), kTemplateNames.end(),
                                 name) == kTemplateNames.end()) {
    return Failure{"cmbTemplate",
                   "the template is classic or modern, not " + name};
  }
  // The sitemap's addresses are the site URL followed by each file's path:
  // without one there are no addresses to write.
  if (!settings.txtSitemapXml.empty() && settings.txtSiteUrl.empty()) {
    return Failure{"txtSiteUrl",
                   "an XML sitemap (txtSitemapXml) needs the site URL its "
                   "addresses start with"};
  }
  return {};
}

}  // namespace mapgen
