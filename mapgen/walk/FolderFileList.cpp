#include "FolderFileList.h"

#include <algorithm>

#include "Ordinal.h"
#include "SkipRules.h"

namespace mapgen {

FolderFileList ListFolderFiles(const std::vector<std::string>& files,
                               const ListingRule& rule) {
  std::vector<FolderFileList> groups(rule.Groups());
  for (const std::string& name : files) {
    if (const auto group = rule.Group(name)) groups[*group].push_back(name);
  }
  FolderFileList list;
  for (FolderFileList& group : groups) {
    std::sort(group.begin(), group.end(), OrdinalLess);
    std::move(group.begin(), group.end(), std::back_inserter(list));
  }
  return list;
}

bool ListShownFiles(FolderHandle& folder, const ListingRule& rule,
                    FolderFileList& files, Failure& failure) {
  std::vector<std::string> listed;
  const bool read = folder.List(
      [&](std::string_view name, EntryKind kind) {
        if (IsListed(name, kind)) listed.emplace_back(name);
      },
      failure);
  files = ListFolderFiles(listed, rule);
  return read;
}

}  // namespace mapgen
