#include "FolderFileList.h"

#include <algorithm>

#include "Ordinal.h"

namespace mapgen {

Outcome<FolderFileList> ListShownFiles(FolderHandle& folder,
                                       const SkipRules& rules) {
  std::vector<FolderFileList> groups(rules.Groups());
  auto read = folder.List([&](std::string_view name, EntryKind kind) {
    if (const auto group = rules.Group(name, kind)) {
      groups[*group].Add(name, kind == EntryKind::kLinkToFile);
    }
  });
  if (!read) return std::move(read).failure();
  for (FolderFileList& group : groups) group.Sort(OrdinalLess);
  // Most folders show one group, which is then the list itself.
  const auto shown =
      std::count_if(groups.begin(), groups.end(),
                    [](const auto& group) { return !group.empty(); });
  if (shown <= 1) {
    for (FolderFileList& group : groups) {
      if (!group.empty()) return std::move(group);
    }
    return FolderFileList();
  }
  FolderFileList files;
  for (FolderFileList& group : groups) {
    files.Append(group);
    group = FolderFileList();
  }
  return files;
}

}  // namespace mapgen
