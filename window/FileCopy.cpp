#include "FileCopy.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

#include "MapFileWriter.h"
#include "OutputSet.h"
#include "Paths.h"
#include "PreviousFiles.h"
#include "SitemapWriter.h"

namespace tessary {

bool SameFile(const mapgen::FileSystem& fs, const std::string& first,
              const std::string& second) {
  const auto a = fs.IdOf(first);
  return a && a == fs.IdOf(second);
}

void RemoveIfThere(const mapgen::FileSystem& fs, const std::string& path) {
  static_cast<void>(fs.RemoveFile(path));
}

namespace {

// Copies `source` into output `page` of `set`, which Check passed.
mapgen::Outcome<void> CopyInto(const mapgen::FileSystem& fs,
                               const std::string& source,
                               mapgen::OutputSet& set, std::size_t page) {
  auto reader = fs.OpenFile(source);
  if (!reader) return std::move(reader).failure();
  auto file = set.Open(page);
  if (!file) return std::move(file).failure();
  return mapgen::CopyAll(**reader, **file);
}

// Adds the sitemap's files and its robots file to `set`, and fills them
// once `set` is checked; reads what the sitemap it replaces names, to
// remove the pieces the new one no longer has once `set` is in place.
class SitemapBesidePage {
 public:
  SitemapBesidePage(mapgen::OutputSet& set, const SitemapAtSave& sitemap,
                    const std::string& folder, const mapgen::FileSystem& fs)
      : sitemap_(sitemap),
        folder_(folder),
        files_(sitemap.files.AddTo(set, folder)),
        robotsPath_(mapgen::JoinPath(folder, sitemap.robotsTxt)),
        previousPieces_(mapgen::PreviousParts(
            fs, mapgen::JoinPath(folder, sitemap.files.Names().back()))) {
    if (sitemap.robotsTxt.empty()) return;
    robots_ = set.Add("robots file",
                      mapgen::OutputTarget::Below(folder, sitemap.robotsTxt));
  }

  mapgen::Outcome<void> Fill(mapgen::OutputSet& set,
                             const mapgen::FileSystem& fs) const {
    if (auto filled = sitemap_.files.Fill(set, files_, fs); !filled) {
      return filled;
    }
    if (!robots_) return {};
    const std::vector<std::string> names = sitemap_.files.Names();
    const std::string index =
        mapgen::JoinPath(mapgen::ParentFolder(robotsPath_), names.back());
    const std::string url = mapgen::SitemapAddress(
        sitemap_.siteUrl, mapgen::SitemapServedPath(index, sitemap_.base));
    auto text = mapgen::RobotsTxtNaming(fs, robotsPath_, url);
    if (!text) return std::move(text).failure();
    if (!*text) return {};
    auto file = set.Open(*robots_);
    if (!file) return std::move(file).failure();
    return (*file)->Write(**text);
  }

  mapgen::Outcome<void> RemoveStalePieces(const mapgen::FileSystem& fs) const {
    const std::vector<std::string> names = sitemap_.files.Names();
    for (const std::string& piece : previousPieces_) {
      if (std::ranges::find(names, piece) != names.end()) continue;
      auto removed = fs.RemoveFile(mapgen::JoinPath(folder_, piece));
      if (!removed && !mapgen::IsSystemError(removed.failure(), ENOENT)) {
        return removed;
      }
    }
    return {};
  }

 private:
  const SitemapAtSave& sitemap_;
  const std::string folder_;
  const std::vector<std::size_t> files_;
  const std::string robotsPath_;
  const std::vector<std::string> previousPieces_;
  std::optional<std::size_t> robots_;
};

}  // namespace

CopyOutcome CopyPage(const mapgen::FileSystem& fs, const std::string& source,
                     const std::string& destination, bool removeSource,
                     const SitemapAtSave* sitemap) {
  CopyOutcome outcome;
  const bool samePage = SameFile(fs, source, destination);
  mapgen::OutputSet set(fs);
  std::optional<std::size_t> page;
  if (!samePage) page = set.Add("page", destination);
  std::optional<SitemapBesidePage> beside;
  if (sitemap != nullptr && !sitemap->files.Names().empty()) {
    beside.emplace(set, *sitemap, mapgen::ParentFolder(destination), fs);
  }
  auto copied = set.Check();
  if (copied && page) copied = CopyInto(fs, source, set, *page);
  if (copied && beside) copied = beside->Fill(set, fs);
  if (copied) copied = set.Commit();
  if (!copied) {
    // A page that is the destination itself is where it was.
    outcome.copied = samePage;
    outcome.failure = std::move(copied).failure();
    return outcome;
  }
  if (removeSource && !samePage) RemoveIfThere(fs, source);
  outcome.copied = true;
  if (beside) {
    if (auto removed = beside->RemoveStalePieces(fs); !removed) {
      outcome.failure = std::move(removed).failure();
    }
  }
  return outcome;
}

}  // namespace tessary
