#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "ExcludeGlobs.h"
#include "ExtensionList.h"
#include "FileSystem.h"
#include "MapSettings.h"

namespace mapgen {

// What a map leaves out, rule by rule in the order they apply:
//   1. "." and "..", which a listing never passes on;
//   2. hidden names, those that begin with ".";
//   3. by kind: only a real folder is walked, never a link to one, and only
//      a file or a link to one is listed; anything else (a pipe, a device,
//      a socket, a link that leads nowhere) is neither;
//   4. names that a glob of txtExclude matches, folders and files alike;
//   5. files whose extension is not in the ExtensionList.
// The window's folder views show what rules 2 and 3 let through.

// Rules 2 and 3, for a folder and for a file.
bool IsWalked(std::string_view name, EntryKind kind);
bool IsListed(std::string_view name, EntryKind kind);

// Every rule, as one build's settings set them. It outlives nothing it was
// made from but the settings.
class SkipRules {
 public:
  explicit SkipRules(const MapSettings& settings);

  // Whether the walk enters the folder entry `name`.
  bool Walks(std::string_view name, EntryKind kind) const;

  // The group that the file entry `name` is listed in, the groups coming
  // in the ExtensionList's order; none when it is not listed.
  std::optional<std::size_t> Group(std::string_view name, EntryKind kind) const;
  std::size_t Groups() const { return extensions_.size(); }

  // Whether a listed file is a web page, for the entry styles.
  bool IsWebPage(std::string_view name) const;

 private:
  const MapSettings& settings_;
  ExcludeGlobs excluded_;
  ExtensionIndex extensions_;
};

}  // namespace mapgen
