#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "MapSettings.h"

namespace mapgen {

// The upper-case extensions, without a dot, that one build lists, each once,
// in the order their groups appear on the page.
using ExtensionList = std::vector<std::string>;

// The extension list that the file-type options ask for: "HTML" and "HTM",
// then "ASP", "TXT", "PDF", "JPG" as checked, then the extensions typed
// into txtExtensions when "Other :" is checked. A repeat is skipped.
ExtensionList BuildExtensionList(const MapSettings& settings);

// The extension as the listing compares it: the text after the first "."
// of the name, or the whole name when it has none, upper-cased.
std::string ExtensionOf(std::string_view name);

// The extension as the listing compares it when chkLastExtension is on:
// the text after the last "." of the name ("archive.tar.gz" gives "GZ"),
// or the whole name when it has none, upper-cased like ExtensionOf.
std::string LastExtensionOf(std::string_view name);

// The extension as one build compares it: after the first dot, or after
// the last with chkLastExtension.
std::string ExtensionOf(std::string_view name, const MapSettings& settings);

// Whether a file of extension `extension` is a web page for the entry
// styles.
bool IsWebPage(std::string_view extension, const MapSettings& settings);

// Finds an extension's place in an ExtensionList in constant time.
class ExtensionIndex {
 public:
  explicit ExtensionIndex(const ExtensionList& extensions);
  std::optional<std::size_t> Find(const std::string& extension) const;
  std::size_t size() const { return positions_.size(); }

 private:
  std::unordered_map<std::string, std::size_t> positions_;
};

}  // namespace mapgen
