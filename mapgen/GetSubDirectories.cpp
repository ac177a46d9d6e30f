#include "GetSubDirectories.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "Ordinal.h"
#include "Paths.h"

namespace mapgen {
namespace {

Folder ListOne(const FileSystem& fs, std::string path,
               std::vector<std::string>& subfolders) {
  Folder folder{std::move(path), {}, {}};
  FolderListing listing;
  if (fs.ListFolder(folder.path, listing, folder.failure)) {
    folder.files = std::move(listing.files);
    subfolders = std::move(listing.subfolders);
  }
  return folder;
}

// The breadth-first walk, shared by its threads: folders waiting to be
// listed, and the count of folders being listed, which may still add more.
class Walk {
 public:
  Walk(const FileSystem& fs, const BuildObserver& observer)
      : fs_(fs), observer_(observer) {}

  FolderList Run(const std::string& base, unsigned threads) {
    pending_.push_back(base);
    {
      std::vector<std::jthread> helpers;
      for (unsigned i = 1; i < threads; ++i) {
        helpers.emplace_back([this] { Work(); });
      }
      Work();
    }
    return std::move(done_);
  }

 private:
  void Work() {
    std::unique_lock lock(mutex_);
    while (true) {
      changed_.wait(lock, [this] { return !pending_.empty() || busy_ == 0; });
      if (pending_.empty() || stopped_) break;
      std::string path = std::move(pending_.front());
      pending_.pop_front();
      ++busy_;
      lock.unlock();
      std::vector<std::string> subfolders;
      Folder folder = ListOne(fs_, std::move(path), subfolders);
      const bool stop = observer_.StopRequested();
      lock.lock();
      for (const std::string& name : subfolders) {
        pending_.push_back(JoinPath(folder.path, name));
      }
      done_.push_back(std::move(folder));
      stopped_ = stopped_ || stop;
      --busy_;
      changed_.notify_all();
    }
    changed_.notify_all();
  }

  const FileSystem& fs_;
  const BuildObserver& observer_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::string> pending_;
  unsigned busy_ = 0;
  bool stopped_ = false;
  FolderList done_;
};

}  // namespace

FolderList GetSubDirectories(const FileSystem& fs, const std::string& dirctry,
                             bool all, unsigned threads,
                             const BuildObserver& observer) {
  if (!all) {
    std::vector<std::string> ignored;
    FolderList list;
    list.push_back(ListOne(fs, dirctry, ignored));
    return list;
  }
  FolderList list = Walk(fs, observer).Run(dirctry, std::max(threads, 1u));
  if (observer.StopRequested()) return {};
  // Every path begins with the base folder's, so the base sorts first.
  std::sort(list.begin(), list.end(), [](const Folder& a, const Folder& b) {
    return OrdinalLess(a.path, b.path);
  });
  return list;
}

}  // namespace mapgen
