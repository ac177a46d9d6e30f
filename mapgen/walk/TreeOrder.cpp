#include "TreeOrder.h"

#include <algorithm>

#include "Ordinal.h"

namespace mapgen {

bool TreeLess(std::string_view a, std::string_view b) {
  const auto [aStop, bStop] =
      std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  // A folder comes before those inside it, and a name before the longer
  // names it begins.
  if (aStop == a.end()) return bStop != b.end();
  if (bStop == b.end() || *bStop == '/') return false;
  if (*aStop == '/') return true;
  // The paths part inside one name: its two versions decide.
  const std::size_t differ = aStop - a.begin();
  const std::size_t slash = a.rfind('/', differ);
  const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
  const std::string_view aName = a.substr(start, a.find('/', differ) - start);
  const std::string_view bName = b.substr(start, b.find('/', differ) - start);
  return OrdinalLess(aName, bName);
}

void PutInTreeOrder(FolderList& folders) {
  std::sort(folders.begin(), folders.end(),
            [](const Folder& a, const Folder& b) {
              return TreeLess(a.path, b.path);
            });
}

}  // namespace mapgen
