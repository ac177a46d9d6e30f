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

// Whether `name` is that of a piece of the sitemap `fileName`, as
// SitemapPartName names them.
bool IsSitemapPart(std::string_view fileName, std::string_view name) {
  const std::string first = SitemapPartName(fileName, 1);
  const std::size_t one = first.rfind('1');
  const std::string_view before = std::string_view(first).substr(0, one);
  const std::string_view after = std::string_view(first).substr(one + 1);
  if (name.size() <= before.size() + after.size() ||
      !name.starts_with(before) || !name.ends_with(after)) {
    return false;
  }
  const std::string_view number =
      name.substr(before.size(), name.size() - before.size() - after.size());
  return number[0] != '0' &&
         number.find_first_not_of("0123456789") == std::string_view::npos;
}

// The XML sitemap's files as outputs of the build's set: each staged
// beside the sitemap's name and named when it is complete; where the
// sitemap goes to a stream or a descriptor, its one file is written to it
// as it comes.
class SitemapInSet : public SitemapSink {
 public:
  SitemapInSet(OutputSet& set, std::size_t output, std::string path)
      : set_(set),
        output_(output),
        path_(std::move(path)),
        fileName_(LastName(path_)) {}

  void Begin() override {
    if (failure_) return;
    ++files_;
    auto opened =
        !set_.IsStream(output_)
            ? set_.OpenBeside(output_,
                              {fileName_, SitemapPartName(fileName_, files_)})
        : files_ == 1 ? set_.Open(output_)
                      : Outcome<PageSink*>(Unsplittable());
    if (!opened) {
      failure_ = std::move(opened).failure();
      return;
    }
    file_ = *opened;
  }

  void Write(std::string_view chunk) override {
    // A chunk as large as a piece goes out as it is rather than through
    // the buffer.
    if (buffer_.empty() && chunk.size() >= kWriteSize / 2) {
      WriteOut(chunk);
      return;
    }
    buffer_ += chunk;
    if (buffer_.size() >= kWriteSize) Flush();
  }

  void End(std::string_view name) override {
    Flush();
    if (failure_) return;
    if (set_.IsStream(output_)) {
      if (name != fileName_) failure_ = Unsplittable();
      return;
    }
    if (auto named = set_.Name(file_, std::string(name)); !named) {
      failure_ = std::move(named).failure();
    }
  }

  Outcome<void> Written() const {
    if (failure_) return *failure_;
    return {};
  }

 private:
  Failure Unsplittable() const {
    return Failure(path_,
                   "the sitemap must be split into pieces, which a stream "
                   "cannot take");
  }

  void Flush() {
    WriteOut(buffer_);
    buffer_.clear();
  }

  void WriteOut(std::string_view bytes) {
    if (failure_) return;
    if (auto written = file_->Write(bytes); !written) {
      failure_ = std::move(written).failure();
    }
  }

  OutputSet& set_;
  const std::size_t output_;
  const std::string path_;
  const std::string fileName_;
  std::size_t files_ = 0;
  PageSink* file_ = nullptr;  // the file that began last
  std::string buffer_;
  std::optional<Failure> failure_;  // the first, which ends the writing
};

// Where the settings put the XML sitemap: a path the command line gave
// as it is, one taken from the page's folder below it, never through a
// link on the way.
OutputTarget SitemapTarget(const MapSettings& settings,
                           const std::string& pageFolder) {
  const std::string& file = settings.txtSitemapXml;
  if (file.empty() || file.starts_with('/')) return file;
  return OutputTarget::Below(pageFolder, file);
}

// The XML sitemap of one build, when the settings ask for one: its files
// go to the caller's staging, or are outputs of the build's set.
class BuildSitemap {
 public:
  BuildSitemap(const MapSettings& settings, const PagePlacement& placement,
               const std::string& pageFolder, OutputSet& set)
      : target_(placement.sitemap ? *placement.sitemap
                                  : SitemapTarget(settings, pageFolder)),
        siteUrl_(settings.txtSiteUrl),
        urlStart_(SitemapUrlStart(siteUrl_)),
        staged_(placement.stagedSitemap),
        limits_(placement.sitemapLimits),
        set_(set) {
    if (!Wanted() || staged_ != nullptr) return;
    output_ = set.Add("XML sitemap", target_);
    set.AddPieces(*output_, [name = std::string(LastName(target_.path))](
                                std::string_view other) {
      return IsSitemapPart(name, other);
    });
  }

  bool Wanted() const { return !target_.path.empty(); }
  // What the section maker begins every <url> with; empty for none.
  std::string UrlStart() const { return Wanted() ? urlStart_ : ""; }

  Outcome<void> Start(const FileSystem& fs) {
    if (!Wanted()) return {};
    SitemapSink* sink = staged_;
    if (staged_ != nullptr) {
      if (auto started = staged_->Start(fs); !started) return started;
    } else {
      sink = &inSet_.emplace(set_, *output_, target_.path);
    }
    writer_.emplace(siteUrl_, LastName(target_.path), *sink, limits_);
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
    auto written = staged_ != nullptr ? staged_->Staged() : inSet_->Written();
    if (!written) return std::move(written).failure();
    return writer_->urlCount();
  }

 private:
  const OutputTarget target_;
  const std::string siteUrl_;
  const std::string urlStart_;
  StagedSitemap* const staged_;
  const SitemapLimits limits_;
  OutputSet& set_;
  std::optional<std::size_t> output_;
  std::optional<SitemapInSet> inSet_;
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
                           parts.observer, sitemap.UrlStart(), within.get());
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
  BuildSitemap sitemap(settings, placement, pageFolder, set);
  if (auto checked = set.Check(); !checked) {
    return NotWritten(std::move(checked).failure());
  }
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
