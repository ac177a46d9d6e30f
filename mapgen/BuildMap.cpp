#include "BuildMap.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <new>
#include <optional>

#include "BuildFailure.h"
#include "GetSubDirectories.h"
#include "MapFile.h"
#include "PageWriter.h"
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

// Writes the page of the folders `folders` to `sink`.
BuildResult WritePage(const MapSettings& settings, const std::string& base,
                      const FileSystem& fs, BuildObserver& observer,
                      const FolderList& folders, unsigned threads,
                      PageSink& sink) {
  BuildResult result;
  PageBuffer page(sink);
  std::string head;
  WritePageHead(settings, head);
  Failure failure;
  if (!page.Add(head, failure)) return Ended(Outcome::kNotWritten, failure);
  const SectionMaker maker(fs, settings, base, observer);
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
      folderDone = piece->endsFolder;
    }
    observer.FolderWritten(folders[i].path, i + 1, total);
  }
  std::string tail;
  WritePageTail(settings, tail);
  if (!page.Add(tail, failure) || !page.Flush(failure)) {
    return Ended(Outcome::kNotWritten, failure);
  }
  result.folders = total;
  // A base folder removed halfway leaves a page of nothing: say so instead.
  if (fs.Reopen(base, folders.front().id, failure) == nullptr) {
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
                  unsigned threads) {
  const std::string base = WithoutTrailingSlashes(settings.txtDir);
  try {
    // Fewer threads where descriptors are scarce, rather than a build that
    // runs out of them.
    threads = std::clamp(threads, 1u, fs.ReadersAllowed());
    const FolderList folders =
        GetSubDirectories(fs, base, settings.chkShowSubfolders != kUnchecked,
                          threads, observer);
    if (observer.StopRequested()) return Ended(Outcome::kStopped);
    Failure failure;
    PageSink* sink = target.open(failure);
    if (sink == nullptr) return Ended(Outcome::kNotWritten, failure);
    BuildResult result =
        WritePage(settings, base, fs, observer, folders, threads, *sink);
    if (result.outcome == Outcome::kBuilt && !target.commit(failure)) {
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

BuildResult BuildMap(const MapSettings& settings, const FileSystem& fs,
                     BuildObserver& observer, PageSink& sink,
                     unsigned threads) {
  return Build(settings, fs, observer,
               {[&](Failure&) { return &sink; }, [](Failure&) { return true; }},
               threads);
}

BuildResult BuildMapFile(const MapSettings& settings, const FileSystem& fs,
                         BuildObserver& observer, const std::string& path,
                         unsigned threads) {
  std::unique_ptr<MapFileWriter> writer;
  return Build(settings, fs, observer,
               {[&](Failure& failure) -> PageSink* {
                  writer = MapFileWriter::Open(fs, path, failure);
                  return writer.get();
                },
                [&](Failure& failure) { return writer->Commit(failure); }},
               threads);
}

}  // namespace mapgen
