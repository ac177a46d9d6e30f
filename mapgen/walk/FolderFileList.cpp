#include "FolderFileList.h"

#include <algorithm>

#include "Ordinal.h"

namespace mapgen {

Outcome<FolderFileList> ListShownFiles(FolderHandle& folder,
                                       const SkipRules& rules) {
  std::vector<FolderFileList> groups(rules.Groups());
  auto read = folder.List([&](std::string_view name, EntryKind kind) {
    if (const auto group = rules.Group(name, kind)) {
      groups[*group].emplace_back(name);
    }
  });
  if (!read) return std::move(read).failure();
  FolderFileList files;
  for (FolderFileList& group : groups) {
    std::sort(group.begin(), group.end(), OrdinalLess);
    std::move(group.begin(), group.end(), std::back_inserter(files));
  }
  return files;
}

}  // namespace mapgen
