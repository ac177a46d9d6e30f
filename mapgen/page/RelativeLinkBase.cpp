#include "RelativeLinkBase.h"

#include <filesystem>

#include "Paths.h"

namespace mapgen {
namespace {

// The folder from the root, without "." or ".." or a trailing "/".
Outcome<std::filesystem::path> NormalFolder(const std::string& folder) {
  auto absolute = AbsolutePath(folder);
  if (!absolute) return std::move(absolute).failure();
  return std::filesystem::path(WithoutTrailingSlashes(
      std::filesystem::path(*absolute).lexically_normal().string()));
}

}  // namespace

Outcome<std::string> RelativeLinkBase(const std::string& pageFolder,
                                      const std::string& baseFolder) {
  auto page = NormalFolder(pageFolder);
  if (!page) return std::move(page).failure();
  auto base = NormalFolder(baseFolder);
  if (!base) return std::move(base).failure();
  const std::filesystem::path relative = base->lexically_relative(*page);
  if (relative.empty() || relative == ".") return std::string();
  return relative.string() + '/';
}

}  // namespace mapgen
