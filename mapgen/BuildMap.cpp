#include "BuildMap.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <new>
#include <optional>

#include "GetSubDirectories.h"
#include "MapFileWriter.h"
#include "PageFormat.h"
#include "PageTemplate.h"
#include "Paths.h"
#include "RelativeLinkBase.h"
#include "SectionPrefetch.h"
#include "TreeOrder.h"

namespace mapgen {
namespace {

using Ending = BuildResult::Outcome;

// The path of the XML sitemap of a page read from `pageFolder`: a relative
// txtSitemapXml is relative to that folder.
std::string SitemapPath(const MapSettings& settings,
                        std::string_view pageFolder) {
  const std::string& file = settings.txtSitemapXml;
  if (file.empty() || file.starts_with('/')) return file;
  return JoinPath(pageFolder, file);
}

// Pieces of the page are gathered into writes of this size.
constexpr std::size_t kWriteSize = 64 * 1024;

BuildResult Ended(Ending ending, Failure failure = {}) {
  return {ending, std::move(failure)};
}

// Hands the page to its sink in writes of a good size.
class PageBuffer {
 public:
  explicit PageBuffer(PageSink& sink) : sink_(sink) {
    text_.reserve(kWriteSize);
  }

  Outcome<void> Add(std::string_view piece) {
    text_ += piece;
    if (text_.size() < kWriteSize) return {};
    return Flush();
  }

  Outcome<void> Flush() {
    auto written = sink_.Write(text_);
    text_.clear();
    return written;
  }

 private:
  PageSink& sink_;
  std::string text_;
};

// The XML sitemap of one build, when the settings ask for one: its URLs
// go to the caller's staging, or to the build's own, staged beside the
// sitemap's path and placed there once the page is in place.
class BuildSitemap {
 public:
  BuildSitemap(const MapSettings& settings, const PagePlacement& placement,
               std::string_view pageFolder)
      : path_(SitemapPath(settings, pageFolder)),
        siteUrl_(settings.txtSiteUrl),
        urlStart_(SitemapUrlStart(siteUrl_)),
        own_(placement.stagedSitemap == nullptr && !path_.empty()
                 ? std::make_optional<StagedSitemap>(ParentFolder(path_))
                 : std::nullopt),
        staged_(own_ ? &*own_ : placement.stagedSitemap),
        limits_(placement.sitemapLimits) {}

  bool Wanted() const { return !path_.empty(); }
  // What the section maker begins every <url> with; empty for none.
  std::string UrlStart() const { return Wanted() ? urlStart_ : ""; }

  Outcome<void> Start(const FileSystem& fs) {
    if (!Wanted()) return {};
    if (auto started = staged_->Start(fs); !started) return started;
    writer_.emplace(siteUrl_, LastName(path_), *staged_, limits_);
    return {};
  }

  // Adds the `count` <url> elements of a piece, one a line.
  void Add(std::string_view urls, std::size_t count) {
    if (Wanted()) writer_->AddUrls(urls, count);
  }

  // Ends the sitemap's files: the URLs in them.
  Outcome<std::size_t> Finish() {
    if (!Wanted()) return 0;
    writer_->Finish();
    if (auto staged = staged_->Staged(); !staged) {
      return std::move(staged).failure();
    }
    return writer_->urlCount();
  }

  // Puts the build's own staged files in place.
  Outcome<void> Place(const FileSystem& fs) {
    if (!own_) return {};
    return own_->Place(fs, own_->Folder());
  }

 private:
  const std::string path_;
  const std::string siteUrl_;
  const std::string urlStart_;
  std::optional<StagedSitemap> own_;
  StagedSitemap* const staged_;
  const SitemapLimits limits_;
  std::optional<SitemapWriter> writer_;
};

// What one build reads and writes with.
struct BuildParts {
  const PageFormat& format;
  const SkipRules& rules;
  const FileSystem& fs;
  BuildObserver& observer;
  unsigned threads;
};

// Writes the page of the folders `folders` to `sink`, and their URLs to
// the sitemap.
BuildResult WritePage(const BuildParts& parts, FolderList& folders,
                      PageSink& sink, BuildSitemap& sitemap) {
  BuildResult result;
  PageBuffer page(sink);
  const std::unique_ptr<PageTemplate> layout = ChooseTemplate(parts.format);
  if (layout->NestsSections()) PutInTreeOrder(folders);
  std::string head;
  layout->Head(head);
  if (auto added = page.Add(head); !added) {
    return Ended(Ending::kNotWritten, std::move(added).failure());
  }
  const SectionMaker maker(parts.fs, parts.format, *layout, parts.rules,
                           parts.observer, sitemap.UrlStart());
  SectionPrefetch prefetch(maker, folders, parts.observer, parts.threads);
  const std::size_t total = folders.size();
  std::string before;
  for (std::size_t i = 0; i < total; ++i) {
    for (bool first = true, folderDone = false; !folderDone; first = false) {
      auto next = prefetch.Next();
      if (!next) return Ended(Ending::kFailed, std::move(next).failure());
      if (!*next || parts.observer.StopRequested()) {
        return Ended(Ending::kStopped);
      }
      const PagePiece& piece = **next;
      result.files += piece.files;
      result.webPages += piece.webPages;
      for (const Failure& unreadable : piece.unreadable) {
        parts.observer.Unreadable(unreadable);
      }
      before.clear();
      const bool shown =
          !first || layout->PlaceSection(folders[i].path, piece.files,
                                         piece.html, before);
      auto added = page.Add(before);
      if (added && shown) added = page.Add(piece.html);
      if (!added) return Ended(Ending::kNotWritten, std::move(added).failure());
      sitemap.Add(piece.sitemapUrls, piece.sitemapUrlCount);
      folderDone = piece.endsFolder;
    }
    parts.observer.FolderWritten(folders[i].path, i + 1, total);
  }
  std::string tail;
  layout->Tail(result.files, tail);
  auto written = page.Add(tail);
  if (written) written = page.Flush();
  if (!written) return Ended(Ending::kNotWritten, std::move(written).failure());
  auto urls = sitemap.Finish();
  if (!urls) return Ended(Ending::kNotWritten, std::move(urls).failure());
  result.sitemapUrls = *urls;
  result.folders = total;
  // A base folder removed halfway leaves a page of nothing: say so instead.
  if (auto base = parts.fs.Reopen(parts.format.base, folders.front().id);
      !base) {
    return Ended(Ending::kFailed, std::move(base).failure());
  }
  return result;
}

// Where a build's page goes: a sink opened once the folders are collected,
// and, for a file, put in place at the end.
struct PageTarget {
  std::function<Outcome<PageSink*>()> open;
  std::function<Outcome<void>()> commit;
};

BuildResult Build(const MapSettings& settings, const FileSystem& fs,
                  BuildObserver& observer, const PageTarget& target,
                  const PagePlacement& placement, unsigned threads) {
  const std::string base = WithoutTrailingSlashes(settings.txtDir);
  const std::string pageFolder =
      placement.folder.empty() ? base : placement.folder;
  // Fewer threads where descriptors are scarce, rather than a build that
  // runs out of them.
  threads = std::clamp(threads, 1u, fs.ReadersAllowed());
  const SkipRules rules(settings);
  auto folders =
      GetSubDirectories(fs, base,
                        {.all = settings.chkShowSubfolders != kUnchecked,
                         .threads = threads,
                         .rules = &rules,
                         .stop = &observer});
  if (!folders) return Ended(Ending::kFailed, std::move(folders).failure());
  if (observer.StopRequested()) return Ended(Ending::kStopped);
  auto sink = target.open();
  if (!sink) return Ended(Ending::kNotWritten, std::move(sink).failure());
  BuildSitemap sitemap(settings, placement, pageFolder);
  if (auto started = sitemap.Start(fs); !started) {
    return Ended(Ending::kNotWritten, std::move(started).failure());
  }
  // A page read from elsewhere reaches the base folder by a relative path,
  // unless its links start with a prefix; working it out needs the current
  // folder when either folder is relative.
  const bool inBase = pageFolder == base || !settings.txtLinkPrefix.empty();
  auto toBase = inBase ? Outcome<std::string>(std::string())
                       : RelativeLinkBase(pageFolder, base);
  if (!toBase) return Ended(Ending::kNotWritten, std::move(toBase).failure());
  const PageFormat format(settings, base, std::move(*toBase));
  BuildResult result = WritePage({format, rules, fs, observer, threads},
                                 *folders, **sink, sitemap);
  if (result.outcome != Ending::kBuilt) return result;
  auto placed = target.commit();
  if (placed) placed = sitemap.Place(fs);
  if (!placed) return Ended(Ending::kNotWritten, std::move(placed).failure());
  return result;
}

// Builds as Build does; running out of memory anywhere, on any of the
// build's threads, fails the build as any shortage does.
BuildResult BuildCatchingShortage(const MapSettings& settings,
                                  const FileSystem& fs, BuildObserver& observer,
                                  const PageTarget& target,
                                  const PagePlacement& placement,
                                  unsigned threads) {
  try {
    return Build(settings, fs, observer, target, placement, threads);
  } catch (const std::bad_alloc&) {
    return Ended(
        Ending::kFailed,
        SystemFailure(WithoutTrailingSlashes(settings.txtDir), ENOMEM));
  }
}

}  // namespace

BuildResult BuildMap(const MapSettings& settings, const FileSystem& fs,
                     BuildObserver& observer, PageSink& sink,
                     const PagePlacement& placement, unsigned threads) {
  return BuildCatchingShortage(settings, fs, observer,
                               {[&]() -> Outcome<PageSink*> { return &sink; },
                                []() { return Outcome<void>(); }},
                               placement, threads);
}

BuildResult BuildMapFile(const MapSettings& settings, const FileSystem& fs,
                         BuildObserver& observer, const std::string& path,
                         const PagePlacement& placement, unsigned threads) {
  PagePlacement here = placement;
  if (here.folder.empty() && !IsOwnDescriptor(path)) {
    here.folder = ParentFolder(path);
  }
  std::unique_ptr<MapFileWriter> writer;
  return BuildCatchingShortage(settings, fs, observer,
                               {[&]() -> Outcome<PageSink*> {
                                  auto opened = MapFileWriter::Open(fs, path);
                                  if (!opened)
                                    return std::move(opened).failure();
                                  writer = std::move(*opened);
                                  return writer.get();
                                },
                                [&]() { return writer->Commit(); }},
                               here, threads);
}

}  // namespace mapgen
