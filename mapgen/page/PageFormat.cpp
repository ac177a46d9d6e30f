#include "PageFormat.h"

#include "Paths.h"
#include "RelativeLinkBase.h"

namespace mapgen {
namespace {

std::string LinkStart(const MapSettings& settings, const std::string& base,
                      std::string_view pageFolder) {
  if (!settings.txtLinkPrefix.empty()) return settings.txtLinkPrefix;
  if (pageFolder.empty() || pageFolder == base) return {};
  return RelativeLinkBase(AbsolutePath(pageFolder), AbsolutePath(base));
}

}  // namespace

bool DeclaresUtf8(const MapSettings& settings) {
  return IsChecked(settings.chkUtf8) || IsModern(settings);
}

PageFormat::PageFormat(const MapSettings& settings, std::string base,
                       std::string_view pageFolder)
    : settings(settings),
      base(std::move(base)),
      linkStart(LinkStart(settings, this->base, pageFolder)),
      userPrefix(!settings.txtLinkPrefix.empty()),
      utf8(DeclaresUtf8(settings)),
      safe(IsChecked(settings.chkSafeLinks)),
      style(SelectedStyle(settings)) {}

}  // namespace mapgen
