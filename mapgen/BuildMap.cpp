#include "BuildMap.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <system_error>

#include "GetSubDirectories.h"
#include "MapFileWriter.h"
#include "PageFormat.h"
#include "PageTemplate.h"
#include "Paths.h"
#include "RelativeLinkBase.h"
#include "SectionPrefetch.h"
#include "SitemapOutputs.h"

namespace mapgen {
namespace {

using Ending = BuildResult::Outcome;

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
                      PageSink& sink, SitemapOutputs& sitemap) {
  BuildResult result;
  PageBuffer page(sink);
  const std::unique_ptr<PageTemplate> layout = ChooseTemplate(parts.format);
  if (layout->NestsSections()) folders.PutInTreeOrder();
  std::string head;
  layout->Head(head);
  if (auto added = page.Add(head); !added) {
    return Ended(Ending::kNotWritten, std::move(added).failure());
  }
  // Links lead to files inside the base folder alone, unless asked: the
  // folder the walk started from, found again by its identity.
  std::shared_ptr<const ReadBoundary> within;
  if (!IsChecked(parts.format.settings.chkFollowOutside)) {
    auto base = parts.fs.Reopen(parts.format.base, folders.front().id);
    if (!base) return Ended(Ending::kFailed, std::move(base).failure());
    within = (*base)->Boundary();
  }
  const SectionMaker maker(parts.fs, parts.format, *layout, parts.rules,
                           parts.observer, sitemap.Reading(), within.get());
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
      PagePiece& piece = **next;
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
      sitemap.Add(piece);
      folderDone = piece.endsFolder;
    }
    parts.observer.FolderWritten(folders[i].path, i + 1, total);
  }
  if (auto dated = sitemap.HistoryRead(); !dated) {
    if (parts.observer.StopRequested()) return Ended(Ending::kStopped);
    return Ended(Ending::kFailed, std::move(dated).failure());
  }
  std::string tail;
  layout->Tail(result.files, tail);
  auto written = page.Add(tail);
  if (written) written = page.Flush();
  if (!written) return Ended(Ending::kNotWritten, std::move(written).failure());
  auto urls = sitemap.Finish(parts.fs);
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

// Where a build's page goes: a sink of the caller's, or an output of the
// build's set.
struct PageTarget {
  PageSink* sink = nullptr;
  const OutputTarget* output = nullptr;
};

BuildResult NotWritten(Failure failure) {
  const bool same = failure.error == std::errc::file_exists;
  return Ended(same ? Ending::kSameOutput : Ending::kNotWritten,
               std::move(failure));
}

BuildResult Build(const MapSettings& settings, const FileSystem& fs,
                  BuildObserver& observer, PageTarget target,
                  const PagePlacement& placement, unsigned threads) {
  const std::string base = WithoutTrailingSlashes(settings.txtDir);
  const std::string pageFolder =
      placement.folder.empty() ? base : placement.folder;
  // A folder that cannot be read is told of first, as what the user most
  // needs to hear; then every output is checked before the walk.
  if (auto readable = fs.IsFolder(base); !readable) {
    return Ended(Ending::kFailed, std::move(readable).failure());
  }
  OutputSet set(fs);
  std::optional<std::size_t> page;
  if (target.output != nullptr) page = set.Add("page", *target.output);
  SitemapOutputs sitemap(settings, placement, base, pageFolder, set, observer);
  if (auto checked = set.Check(); !checked) {
    return NotWritten(std::move(checked).failure());
  }
  sitemap.ReadDatesAhead();
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
  if (auto prepared = sitemap.Prepare(fs); !prepared) {
    if (observer.StopRequested()) return Ended(Ending::kStopped);
    return Ended(Ending::kFailed, std::move(prepared).failure());
  }
  if (page) {
    auto opened = set.Open(*page);
    if (!opened) return NotWritten(std::move(opened).failure());
    target.sink = *opened;
  }
  if (auto started = sitemap.Start(fs); !started) {
    return NotWritten(std::move(started).failure());
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
                                 *folders, *target.sink, sitemap);
  if (result.outcome != Ending::kBuilt) return result;
  if (auto committed = set.Commit(); !committed) {
    return NotWritten(std::move(committed).failure());
  }
  sitemap.RemoveStalePieces(set);
  return result;
}

// Builds as Build does; running out of memory anywhere, on any of the
// build's threads, fails the build as any shortage does.
BuildResult BuildCatchingShortage(const MapSettings& settings,
                                  const FileSystem& fs, BuildObserver& observer,
                                  PageTarget target,
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
  return BuildCatchingShortage(settings, fs, observer, {.sink = &sink},
                               placement, threads);
}

BuildResult BuildMapFile(const MapSettings& settings, const FileSystem& fs,
                         BuildObserver& observer, const OutputTarget& page,
                         const PagePlacement& placement, unsigned threads) {
  PagePlacement here = placement;
  if (here.folder.empty() && !page.descriptor) {
    here.folder = ParentFolder(page.path);
  }
  return BuildCatchingShortage(settings, fs, observer, {.output = &page}, here,
                               threads);
}

}  // namespace mapgen
