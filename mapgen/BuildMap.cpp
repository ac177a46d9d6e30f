#include "BuildMap.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <new>
#include <optional>

#include "BuildFailure.h"
#include "GetSubDirectories.h"
#include "MapFileWriter.h"
#include "PageFormat.h"
#include "PageTemplate.h"
#include "Paths.h"
#include "SectionPrefetch.h"

namespace mapgen {
namespace {

using Outcome = BuildResult::Outcome;

// Pieces of the page are gathered into writes of this size.
constexpr std::size_t kWriteSize = 64 * 1024;

BuildResult Ended(Outcome outcome, Failure failure = {}) {
  return {outcome, std::move(failure)};
}

// Hands the page to its sink in writes of a good size.
class PageBuffer {
 public:
  explicit PageBuffer(PageSink& sink) : sink_(sink) {
    text_.reserve(kWriteSize);
  }

  bool Add(std::string_view piece, Failure& failure) {
    text_ += piece;
    return text_.size() < kWriteSize || Flush(failure);
  }

  bool Flush(Failure& failure) {
    const bool written = sink_.Write(text_, failure);
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

  bool Start(const FileSystem& fs, Failure& failure) {
    if (!Wanted()) return true;
    if (!staged_->Start(fs, failure)) return false;
    writer_.emplace(siteUrl_, LastName(path_), *staged_, limits_);
    return true;
  }

  // Adds the `count` <url> elements of a piece, one a line.
  void Add(std::string_view urls, std::size_t count) {
    if (Wanted()) writer_->AddUrls(urls, count);
  }

  // Ends the sitemap's files; the URLs in them, or nothing with `failure`
  // set.
  std::optional<std::size_t> Finish(Failure& failure) {
    if (!Wanted()) return 0;
    writer_->Finish();
    if (!staged_->Staged(failure)) return std::nullopt;
    return writer_->urlCount();
  }

  // Puts the build's own staged files in place.
  bool Place(const FileSystem& fs, Failure& failure) {
    return !own_ || own_->Place(fs, own_->Folder(), failure);
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

// Writes the page of the folders `folders` to `sink`, and their URLs to
// the sitemap.
BuildResult WritePage(const PageFormat& format, const SkipRules& rules,
                      const FileSystem& fs, BuildObserver& observer,
                      const FolderList& folders, unsigned threads,
                      PageSink& sink, BuildSitemap& sitemap) {
  BuildResult result;
  PageBuffer page(sink);
  const std::unique_ptr<PageTemplate> layout = ChooseTemplate(format);
  std::string head;
  layout->Head(head);
  Failure failure;
  if (!page.Add(head, failure)) return Ended(Outcome::kNotWritten, failure);
  const SectionMaker maker(fs, format, *layout, rules, observer,
                           sitemap.UrlStart());
  SectionPrefetch prefetch(maker, folders, observer, threads);
  const std::size_t total = folders.size();
  for (std::size_t i = 0; i < total; ++i) {
    for (bool folderDone = false; !folderDone;) {
      std::optional<PagePiece> piece = prefetch.Next();
      if (!piece || observer.StopRequested()) return Ended(Outcome::kStopped);
      result.files += piece->files;
      result.webPages += piece->webPages;
      for (const Failure& unreadable : piece->unreadable) {
        observer.Unreadable(unreadable);
      }
      if (!page.Add(piece->html, failure)) {
        return Ended(Outcome::kNotWritten, failure);
      }
      sitemap.Add(piece->sitemapUrls, piece->sitemapUrlCount);
      folderDone = piece->endsFolder;
    }
    observer.FolderWritten(folders[i].path, i + 1, total);
  }
  std::string tail;
  layout->Tail(tail);
  if (!page.Add(tail, failure) || !page.Flush(failure)) {
    return Ended(Outcome::kNotWritten, failure);
  }
  const auto urls = sitemap.Finish(failure);
  if (!urls) return Ended(Outcome::kNotWritten, failure);
  result.sitemapUrls = *urls;
  result.folders = total;
  // A base folder removed halfway leaves a page of nothing: say so instead.
  if (fs.Reopen(format.base, folders.front().id, failure) == nullptr) {
    return Ended(Outcome::kFailed, failure);
  }
  return result;
}

// Where a build's page goes: a sink opened once the folders are collected,
// and, for a file, put in place at the end.
struct PageTarget {
  std::function<PageSink*(Failure&)> open;
  std::function<bool(Failure&)> commit;
};

BuildResult Build(const MapSettings& settings, const FileSystem& fs,
                  BuildObserver& observer, const PageTarget& target,
                  const PagePlacement& placement, unsigned threads) {
  const std::string base = WithoutTrailingSlashes(settings.txtDir);
  const std::string pageFolder =
      placement.folder.empty() ? base : placement.folder;
  try {
    // Fewer threads where descriptors are scarce, rather than a build that
    // runs out of them.
    threads = std::clamp(threads, 1u, fs.ReadersAllowed());
    const SkipRules rules(settings);
    const FolderList folders =
        GetSubDirectories(fs, base,
                          {.all = settings.chkShowSubfolders != kUnchecked,
                           .threads = threads,
                           .rules = &rules,
                           .stop = &observer});
    if (observer.StopRequested()) return Ended(Outcome::kStopped);
    Failure failure;
    PageSink* sink = target.open(failure);
    if (sink == nullptr) return Ended(Outcome::kNotWritten, failure);
    BuildSitemap sitemap(settings, placement, pageFolder);
    if (!sitemap.Start(fs, failure)) {
      return Ended(Outcome::kNotWritten, failure);
    }
    const PageFormat format(settings, base, pageFolder);
    BuildResult result = WritePage(format, rules, fs, observer, folders,
                                   threads, *sink, sitemap);
    if (result.outcome == Outcome::kBuilt &&
        (!target.commit(failure) || !sitemap.Place(fs, failure))) {
      return Ended(Outcome::kNotWritten, failure);
    }
    return result;
  } catch (const BuildFailure& failure) {
    return Ended(Outcome::kFailed, failure.failure());
  } catch (const std::bad_alloc&) {
    return Ended(Outcome::kFailed, SystemFailure(base, ENOMEM));
  }
}

}  // namespace

std::string SitemapPath(const MapSettings& settings,
                        std::string_view pageFolder) {
  const std::string& file = settings.txtSitemapXml;
  if (file.empty() || file.starts_with('/')) return file;
  return JoinPath(pageFolder, file);
}

BuildResult BuildMap(const MapSettings& settings, const FileSystem& fs,
                     BuildObserver& observer, PageSink& sink,
                     const PagePlacement& placement, unsigned threads) {
  return Build(settings, fs, observer,
               {[&](Failure&) { return &sink; }, [](Failure&) { return true; }},
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
  return Build(settings, fs, observer,
               {[&](Failure& failure) -> PageSink* {
                  writer = MapFileWriter::Open(fs, path, failure);
                  return writer.get();
                },
                [&](Failure& failure) { return writer->Commit(failure); }},
               here, threads);
}

}  // namespace mapgen
