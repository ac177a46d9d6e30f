#include "PathEdit.h"

#include "NativePath.h"
#include "Paths.h"

namespace tessary {

void PathEdit::setPath(const std::string& path) {
  path_ = path;
  setText(ShownPath(path));
}

// The longest folder of the path as set that still begins the text keeps
// its bytes; the rest is what the user typed.
std::string PathEdit::path() const {
  const QString typed = text();
  if (typed == ShownPath(path_)) return path_;
  for (std::string folder = mapgen::ParentFolder(path_); folder != ".";
       folder = mapgen::ParentFolder(folder)) {
    const bool root = mapgen::IsRoot(folder);
    const QString shown = root ? QStringLiteral("/") : ShownPath(folder) + '/';
    if (typed.startsWith(shown)) {
      return mapgen::JoinPath(folder, NativePath(typed.mid(shown.size())));
    }
    if (root) break;
  }
  return NativePath(typed);
}

}  // namespace tessary
