#include "SettingsCheck.h"

#include <algorithm>

#include "Ascii.h"

namespace mapgen {

bool IsLanguageTag(std::string_view tag) {
  if (tag.empty() || tag.size() > kLongestLanguageTag) return false;
  bool first = true;
  while (true) {
    const std::size_t end = std::min(tag.find('-'), tag.size());
    const std::string_view subtag = tag.substr(0, end);
    if (subtag.empty() || subtag.size() > 8) return false;
    for (const char c : subtag) {
      if (!IsAsciiLetter(c) && (first || !IsAsciiDigit(c))) return false;
    }
    if (end == tag.size()) return true;
    tag.remove_prefix(end + 1);
    first = false;
  }
}

Outcome<void> CheckSettings(const MapSettings& settings) {
  const std::string& name = settings.cmbTemplate;
  if (!name.empty() && std::find(kTemplateNames.begin(), kTemplateNames.end(),
                                 name) == kTemplateNames.end()) {
    return Failure{"cmbTemplate",
                   "the template is classic or modern, not " + name};
  }
  if (!settings.txtLang.empty() && !IsLanguageTag(settings.txtLang)) {
    return Failure{"txtLang",
                   "the language is a tag of letters, digits and - (en, pt-BR, "
                   "sr-Latn-RS) of at most 35 characters, not " +
                       settings.txtLang};
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
