#include "Paths.h"

#include <filesystem>

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

Outcome<std::string> AbsolutePath(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) {
    return Failure{path, "cannot find the current folder: " + error.message(),
                   error};
  }
  return std::move(absolute).string();
}

Outcome<std::string> NormalAbsolutePath(const std::string& path) {
  auto absolute = AbsolutePath(path);
  if (!absolute) return absolute;
  return WithoutTrailingSlashes(
      std::filesystem::path(*absolute).lexically_normal().string());
}

std::string TempMapPath(std::string_view base) {
  return JoinPath(base, "sitemap.tmp");
}

}  // namespace mapgen
