#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "ExcludeGlobs.h"
#include "ExtensionList.h"
#include "MapSettings.h"

namespace mapgen {

// Which files one build lists, and in which group of the page: by their
// extension, less the names that txtExclude leaves out.
class ListingRule {
 public:
  explicit ListingRule(const MapSettings& settings);

  // The group a file of this name is listed in; none when it is not.
  std::optional<std::size_t> Group(std::string_view name) const;
  std::size_t Groups() const { return index_.size(); }
  bool IsWebPage(std::string_view name) const;
  const ExcludeGlobs& excluded() const { return excluded_; }

 private:
  const MapSettings& settings_;
  ExtensionIndex index_;
  ExcludeGlobs excluded_;
};

}  // namespace mapgen
