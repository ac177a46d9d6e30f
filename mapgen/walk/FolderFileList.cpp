#include "FolderFileList.h"

#include <algorithm>

#include "Ordinal.h"

namespace mapgen {

bool ListShownFiles(FolderHandle& folder, const SkipRules& rules,
                    FolderFileList& files, Failure& failure) {
  std::vector<FolderFileList> groups(rules.Groups());
  const bool read = folder.List(
      [&](std::string_view name, EntryKind kind) {
        if (const auto group = rules.Group(name, kind)) {
          groups[*group].emplace_back(name);
        }
      },
      failure);
  files.clear();
  for (FolderFileList& group : groups) {
    std::sort(group.begin(), group.end(), OrdinalLess);
    std::move(group.begin(), group.end(), std::back_inserter(files));
  }
  return read;
}

}  // namespace mapgen
