#include "Paths.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace mapgen {

bool IsRoot(std::string_view folder) { return folder == "/"; }

std::string WithoutTrailingSlashes(std::string_view path) {
  while (path.size() > 1 && path.ends_with('/')) path.remove_suffix(1);
  return std::string(path);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.ends_with('/')) path += '/';
  path += name;
  return path;
}

std::string ParentFolder(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  return std::string(slash == 0 ? "/" : path.substr(0, slash));
}

std::string_view LastName(std::string_view folder) {
  const std::size_t slash = folder.rfind('/');
  return slash == std::string_view::npos ? folder : folder.substr(slash + 1);
}

std::string_view RelativeFolder(std::string_view folder,
                                std::string_view base) {
  if (folder.size() <= base.size()) return {};
  const std::size_t start = IsRoot(base) ? base.size() : base.size() + 1;
  return folder.substr(start);
}

std::string AbsolutePath(std::string_view path) {
  std::string joined;
  if (!path.starts_with('/')) {
    char current[PATH_MAX];
    if (::getcwd(current, sizeof current) != nullptr) joined = current;
    joined += '/';
  }
  joined += path;
  std::vector<std::string_view> names;
  std::string_view rest = joined;
  while (!rest.empty()) {
    const std::size_t slash = std::min(rest.find('/'), rest.size());
    const std::string_view name = rest.substr(0, slash);
    rest.remove_prefix(std::min(slash + 1, rest.size()));
    if (name == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.push_back(name);
    }
  }
  std::string absolute;
  for (const std::string_view name : names) {
    absolute += '/';
    absolute += name;
  }
  return absolute.empty() ? "/" : absolute;
}

std::string TempMapPath(std::string_view base) {
  return JoinPath(base, "sitemap.tmp");
}

}  // namespace mapgen
