#include "ListingRule.h"

namespace mapgen {

ListingRule::ListingRule(const MapSettings& settings)
    : settings_(settings),
      index_(BuildExtensionList(settings)),
      excluded_(settings.txtExclude) {}

std::optional<std::size_t> ListingRule::Group(std::string_view name) const {
  if (excluded_.Matches(name)) return std::nullopt;
  return index_.Find(ExtensionOf(name, settings_));
}

bool ListingRule::IsWebPage(std::string_view name) const {
  return mapgen::IsWebPage(ExtensionOf(name, settings_), settings_);
}

}  // namespace mapgen
