#include "BuildMap.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "BuildFailure.h"
#include "ExtensionFilter.h"
#include "FolderEntries.h"
#include "GetSubDirectories.h"
#include "PageWriter.h"
#include "Paths.h"
#include "WorkerThreads.h"

namespace mapgen {
namespace {

// Prepares the folders' entries on helper threads, in folder order, while
// the page is written from them in the same order on the calling thread.
// Each helper takes the next folder not yet taken, so the one the writer
// waits for is always being worked on. When no helper can be started, the
// calling thread prepares each folder as it comes.
class EntryPrefetch {
 public:
  EntryPrefetch(const FileSystem& fs, const MapSettings& settings,
                const ExtensionIndex& extensions, FolderList& folders,
                const BuildObserver& observer, unsigned threads)
      : fs_(fs), settings_(settings), extensions_(extensions),
        folders_(folders), observer_(observer), ready_(folders.size()),
        helpers_([this] { Stop(); }) {
    helpers_.Start(threads, [this] { Work(); });
  }

  ~EntryPrefetch() {
    abandoned_ = true;
    helpers_.Join();
  }

  // Waits for folder `index` and hands its entries over; nothing when the
  // build was asked to stop first. Throws what preparing a folder threw.
  std::optional<FolderEntries> Take(std::size_t index) {
    if (helpers_.size() == 0) {
      if (observer_.StopRequested()) return std::nullopt;
      return Prepare(index);
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return ready_[index] || stopped_; });
    if (!ready_[index]) {
      lock.unlock();
      helpers_.RethrowFirstError();
    }
    return std::exchange(ready_[index], std::nullopt);
  }

 private:
  FolderEntries Prepare(std::size_t index) {
    return PrepareFolderEntries(fs_, std::move(folders_[index]), settings_,
                                extensions_, observer_);
  }

  void Work() {
    while (!abandoned_ && !observer_.StopRequested()) {
      const std::size_t index = next_++;
      if (index >= folders_.size()) return;
      FolderEntries entries = Prepare(index);
      std::lock_guard lock(mutex_);
      ready_[index] = std::move(entries);
      changed_.notify_all();
    }
    Stop();
  }

  void Stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }

  const FileSystem& fs_;
  const MapSettings& settings_;
  const ExtensionIndex& extensions_;
  FolderList& folders_;
  const BuildObserver& observer_;
  std::atomic<std::size_t> next_ = 0;
  std::atomic<bool> abandoned_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stopped_ = false;
  std::vector<std::optional<FolderEntries>> ready_;
  WorkerThreads helpers_;
};

BuildResult Stopped() { return {BuildResult::Outcome::kStopped, {}, {}}; }

BuildResult Failed(Failure failure) {
  return {BuildResult::Outcome::kFailed, {}, std::move(failure)};
}

BuildResult Build(const MapSettings& settings, const std::string& base,
                  const FileSystem& fs, BuildObserver& observer,
                  unsigned threads) {
  FolderList folders =
      GetSubDirectories(fs, base, settings.chkShowSubfolders != kUnchecked,
                        threads, observer);
  if (observer.StopRequested()) return Stopped();
  const FileId baseId = folders.front().id;
  const ExtensionIndex extensions(BuildExtensionList(settings));

  BuildResult result;
  WritePageHead(settings, result.mapText);
  EntryPrefetch prefetch(fs, settings, extensions, folders, observer, threads);
  const std::size_t total = folders.size();
  for (std::size_t i = 0; i < total; ++i) {
    const std::optional<FolderEntries> prepared = prefetch.Take(i);
    if (!prepared || observer.StopRequested()) return Stopped();
    const FolderEntries& entries = *prepared;
    result.files += entries.files.size();
    result.webPages += std::ranges::count(entries.webPages, true);
    for (const Failure& failure : entries.unreadable) {
      observer.Unreadable(failure);
    }
    WriteFolderSection(settings, base, entries, result.mapText);
    observer.FolderWritten(entries.path, i + 1, total);
  }
  WritePageTail(settings, result.mapText);
  result.folders = total;
  // A base folder removed halfway leaves a page of nothing: say so instead.
  Failure failure;
  if (fs.Reopen(base, baseId, failure) == nullptr) return Failed(failure);
  return result;
}

}  // namespace

unsigned DefaultThreadCount() {
  return std::clamp(8 * std::thread::hardware_concurrency(), 16u, 64u);
}

BuildResult BuildMap(const MapSettings& settings, const FileSystem& fs,
                     BuildObserver& observer, unsigned threads) {
  const std::string base = WithoutTrailingSlashes(settings.txtDir);
  try {
    // Fewer threads where descriptors are scarce, rather than a build that
    // runs out of them.
    threads = std::clamp(threads, 1u, fs.ReadersAllowed());
    return Build(settings, base, fs, observer, threads);
  } catch (const BuildFailure& failure) {
    return Failed(failure.failure());
  } catch (const std::bad_alloc&) {
    return Failed(SystemFailure(base, ENOMEM));
  }
}

}  // namespace mapgen
