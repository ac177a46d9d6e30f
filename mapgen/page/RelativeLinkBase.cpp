#include "RelativeLinkBase.h"

#include <filesystem>

#include "Paths.h"

namespace mapgen {

Outcome<std::string> RelativeLinkBase(const std::string& pageFolder,
                                      const std::string& baseFolder) {
  auto page = NormalAbsolutePath(pageFolder);
  if (!page) return page;
  auto base = NormalAbsolutePath(baseFolder);
  if (!base) return base;
  const std::filesystem::path relative =
      std::filesystem::path(*base).lexically_relative(*page);
  if (relative.empty() || relative == ".") return std::string();
  return relative.string() + '/';
}

}  // namespace mapgen
