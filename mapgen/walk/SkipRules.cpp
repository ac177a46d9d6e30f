#include "SkipRules.h"

namespace mapgen {
namespace {

bool IsHidden(std::string_view name) { return name.starts_with('.'); }

}  // namespace

bool IsWalked(std::string_view name, EntryKind kind) {
  return !IsHidden(name) && kind == EntryKind::kFolder;
}

bool IsListed(std::string_view name, EntryKind kind) {
  return !IsHidden(name) &&
         (kind == EntryKind::kFile || kind == EntryKind::kLinkToFile);
}

SkipRules::SkipRules(const MapSettings& settings)
    : settings_(settings),
      excluded_(settings.txtExclude),
      extensions_(BuildExtensionList(settings)) {}

bool SkipRules::Walks(std::string_view name, EntryKind kind) const {
  return IsWalked(name, kind) && !excluded_.Matches(name);
}

std::optional<std::size_t> SkipRules::Group(std::string_view name,
                                            EntryKind kind) const {
  if (!IsListed(name, kind) || excluded_.Matches(name)) return std::nullopt;
  return extensions_.Find(ExtensionOf(name, settings_));
}

bool SkipRules::IsWebPage(std::string_view name) const {
  return mapgen::IsWebPage(ExtensionOf(name, settings_), settings_);
}

}  // namespace mapgen
