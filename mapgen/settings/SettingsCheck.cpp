#include "SettingsCheck.h"

namespace mapgen {

Outcome<void> CheckSettings(const MapSettings& settings) {
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
