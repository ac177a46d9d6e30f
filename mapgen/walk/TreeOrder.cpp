#include "TreeOrder.h"

#include <algorithm>

#include "Ordinal.h"

namespace mapgen {

bool TreeLess(std::string_view a, std::string_view b) {
  while (true) {
    const std::size_t aEnd = a.find('/');
    const std::size_t bEnd = b.find('/');
    const std::string_view aName = a.substr(0, aEnd);
    const std::string_view bName = b.substr(0, bEnd);
    if (aName != bName) return OrdinalLess(aName, bName);
    // The same names so far: a folder comes before those inside it.
    if (aEnd == std::string_view::npos || bEnd == std::string_view::npos) {
      return aEnd == std::string_view::npos && bEnd != std::string_view::npos;
    }
    a.remove_prefix(aEnd + 1);
    b.remove_prefix(bEnd + 1);
  }
}

void PutInTreeOrder(FolderList& folders) {
  std::sort(folders.begin(), folders.end(),
            [](const Folder& a, const Folder& b) {
              return TreeLess(a.path, b.path);
            });
}

}  // namespace mapgen
