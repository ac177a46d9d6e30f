#include "GetSubDirectories.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "BuildFailure.h"
#include "Ordinal.h"
#include "WorkerThreads.h"

namespace mapgen {
namespace {

// A folder waiting to be listed. It stays open while the file system's
// budget allows; past it, it is opened again by its path when its turn
// comes, and only if it is still the same folder.
struct PendingFolder {
  std::string path;
  FileId id;
  std::unique_ptr<FolderHandle> handle;
};

// The breadth-first walk, shared by its threads: folders waiting to be
// listed, and the count of folders being listed, which may still add more.
class Walk {
 public:
  Walk(const FileSystem& fs, const BuildObserver& observer)
      : fs_(fs), observer_(observer), budget_(fs.HeldFolderBudget()) {}

  FolderList Run(std::unique_ptr<FolderHandle> base, unsigned threads) {
    pending_.push_back({base->Path(), base->Id(), std::move(base)});
    WorkerThreads helpers([this] { StopAfterError(); });
    helpers.Start(threads - 1, [this] { Work(); });
    helpers.Run([this] { Work(); });
    helpers.Join();
    helpers.RethrowFirstError();
    return std::move(done_);
  }

 private:
  void Work() {
    std::unique_lock lock(mutex_);
    while (true) {
      changed_.wait(lock, [this] {
        return !pending_.empty() || busy_ == 0 || stopped_;
      });
      if (pending_.empty() || stopped_) break;
      PendingFolder next = std::move(pending_.front());
      pending_.pop_front();
      if (next.handle != nullptr) --held_;
      ++busy_;
      lock.unlock();
      std::vector<Folder> listed;
      std::vector<PendingFolder> subfolders;
      List(std::move(next), listed, subfolders);
      const bool stop = observer_.StopRequested();
      lock.lock();
      std::move(subfolders.begin(), subfolders.end(),
                std::back_inserter(pending_));
      std::move(listed.begin(), listed.end(), std::back_inserter(done_));
      stopped_ = stopped_ || stop;
      --busy_;
      changed_.notify_all();
    }
    changed_.notify_all();
  }

  void StopAfterError() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }

  // Lists one folder into `listed`, together with any subfolder that cannot
  // be opened, and opens the others for `subfolders`.
  void List(PendingFolder next, std::vector<Folder>& listed,
            std::vector<PendingFolder>& subfolders) {
    Failure failure;
    auto folder = next.handle != nullptr
                      ? std::move(next.handle)
                      : fs_.Reopen(next.path, next.id, failure);
    listed.push_back({std::move(next.path), next.id, {}, {}});
    FolderListing listing;
    if (folder == nullptr || !folder->List(listing, failure)) {
      ThrowIfShortage(failure);
      listed.back().failure = std::move(failure.reason);
      return;
    }
    listed.back().files = std::move(listing.files);
    for (const std::string& name : listing.subfolders) {
      auto subfolder = folder->OpenSubfolder(name, failure);
      if (subfolder == nullptr) {
        ThrowIfShortage(failure);
        listed.push_back({failure.path, {}, {}, failure.reason});
        continue;
      }
      subfolders.push_back({subfolder->Path(), subfolder->Id(), nullptr});
      if (held_.fetch_add(1) < budget_) {
        subfolders.back().handle = std::move(subfolder);
      } else {
        --held_;
      }
    }
  }

  const FileSystem& fs_;
  const BuildObserver& observer_;
  const std::size_t budget_;
  std::atomic<std::size_t> held_ = 0;  // open folders in `pending_`
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<PendingFolder> pending_;
  unsigned busy_ = 0;
  bool stopped_ = false;
  FolderList done_;
};

}  // namespace

FolderList GetSubDirectories(const FileSystem& fs, const std::string& dirctry,
                             bool all, unsigned threads,
                             const BuildObserver& observer) {
  Failure failure;
  auto base = fs.OpenFolder(dirctry, failure);
  if (base == nullptr) throw BuildFailure(failure);
  FolderList list;
  if (all) {
    list = Walk(fs, observer).Run(std::move(base), std::max(threads, 1u));
  } else {
    FolderListing listing;
    list.push_back({dirctry, base->Id(), {}, {}});
    if (base->List(listing, failure)) {
      list.back().files = std::move(listing.files);
    } else {
      list.back().failure = failure.reason;
    }
  }
  if (observer.StopRequested()) return {};
  // Every path begins with the base folder's, so the base sorts first.
  std::sort(list.begin(), list.end(), [](const Folder& a, const Folder& b) {
    return OrdinalLess(a.path, b.path);
  });
  if (!list.front().failure.empty()) {
    throw BuildFailure({dirctry, list.front().failure});
  }
  return list;
}

}  // namespace mapgen
