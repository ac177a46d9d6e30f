#include "FileCopy.h"

#include "MapFileWriter.h"
#include "OutputSet.h"
#include "Paths.h"

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

}  // namespace

CopyOutcome CopyPage(const mapgen::FileSystem& fs, const std::string& source,
                     const std::string& destination, bool removeSource,
                     mapgen::StagedSitemap* sitemap) {
  const bool inPlace = SameFile(fs, source, destination);
  mapgen::OutputSet set(fs);
  const std::size_t page = inPlace ? 0 : set.Add("page", destination);
  std::vector<std::size_t> sitemapFiles;
  if (sitemap != nullptr) {
    sitemapFiles = sitemap->AddTo(set, mapgen::ParentFolder(destination));
  }
  auto done = set.Check();
  if (done && !inPlace) done = CopyInto(fs, source, set, page);
  if (done && sitemap != nullptr) done = sitemap->Fill(set, sitemapFiles, fs);
  if (done) done = set.Commit();
  if (!done) return {inPlace, std::move(done).failure()};
  if (removeSource && !inPlace) RemoveIfThere(fs, source);
  return {true, {}};
}

}  // namespace tessary
