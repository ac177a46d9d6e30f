#include "RelativeLinkBase.h"

#include <vector>

namespace mapgen {
namespace {

std::vector<std::string_view> Segments(std::string_view folder) {
  std::vector<std::string_view> segments;
  while (!folder.empty()) {
    const std::size_t slash = folder.find('/');
    if (slash != 0) segments.push_back(folder.substr(0, slash));
    if (slash == std::string_view::npos) break;
    folder.remove_prefix(slash + 1);
  }
  return segments;
}

}  // namespace

std::string RelativeLinkBase(std::string_view pageFolder,
                             std::string_view baseFolder) {
  const std::vector<std::string_view> page = Segments(pageFolder);
  const std::vector<std::string_view> base = Segments(baseFolder);
  std::size_t common = 0;
  while (common < page.size() && common < base.size() &&
         page[common] == base[common]) {
    ++common;
  }
  std::string link;
  for (std::size_t i = common; i < page.size(); ++i) link += "../";
  for (std::size_t i = common; i < base.size(); ++i) {
    link += base[i];
    link += '/';
  }
  return link;
}

}  // namespace mapgen
