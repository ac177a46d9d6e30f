#include "GetSubDirectories.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "HelperThreads.h"
#include "Mutex.h"
#include "Ordinal.h"
#include "Paths.h"
#include "SkipRules.h"
#include "ThreadBudget.h"

namespace mapgen {
namespace {

Outcome<void> ListSubfolders(FolderHandle& folder, const WalkOptions& options,
                             std::vector<std::string>& names) {
  return folder.List([&](std::string_view name, EntryKind kind) {
    const bool walked = options.rules != nullptr
                            ? options.rules->Walks(name, kind)
                            : IsWalked(name, kind);
    if (walked) names.emplace_back(name);
  });
}

bool StopRequested(const WalkOptions& options) {
  return options.stop != nullptr && options.stop->StopRequested();
}

// A folder that cannot be opened or listed counts as one without
// subfolders or files, unless the machine ran short, which may hit any
// folder and so ends the walk.
Outcome<void> Unlisted(Failure failure, std::vector<Folder>& listed) {
  if (IsShortage(failure)) return failure;
  std::string path = failure.path;
  listed.push_back({std::move(path), {}, std::move(failure)});
  return {};
}

// A folder waiting to be listed. It is opened from its parent, which stays
// open meanwhile, by the thread that lists it; past the budget of open
// folders it is opened by its path instead, and only if it is still the
// same folder.
struct PendingFolder {
  std::string path;
  std::shared_ptr<FolderHandle> parent;  // null: open by path
  FileId id;                             // what to find there
};

// The walk, shared by its threads (see HelperThreads for their rules):
// folders waiting to be listed, and the count of folders being listed,
// which may still add more.
class Walk {
 public:
  Walk(const FileSystem& fs, const WalkOptions& options)
      : fs_(fs),
        options_(options),
        budget_(fs.HeldFolderBudget()),
        threads_(std::max(options.threads, 1u)),
        helpers_(threads_.Most()) {}

  // Lists the folders below `base` on the calling thread and on helpers
  // that start while folders wait with no thread free to take them.
  Outcome<FolderList> Run(std::unique_ptr<FolderHandle> base) {
    FolderList listed;
    std::vector<PendingFolder> subfolders;
    auto first = List(std::move(base), listed, subfolders);
    if (!first) return std::move(first).failure();
    {
      const MutexLock lock(mutex_);
      done_ = std::move(listed);
      pending_ = std::move(subfolders);
    }
    if (!helpers_.Run([this] { Work(); })) Stop({});
    helpers_.Join();
    helpers_.RethrowFirstError();
    const MutexLock lock(mutex_);
    if (failure_) return *failure_;
    return std::move(done_);
  }

 private:
  void Work() EXCLUDES(mutex_) {
    MutexLock lock(mutex_);
    while (true) {
      ++idle_;
      while (pending_.empty() && busy_ > 0 && !stopped_) changed_.Wait(lock);
      --idle_;
      if (pending_.empty() || stopped_) break;
      PendingFolder next = std::move(pending_.back());
      pending_.pop_back();
      ++busy_;
      const bool grow = !pending_.empty() && idle_ == 0 &&
                        helpersStarted_ < threads_.Allowed();
      if (grow) ++helpersStarted_;
      lock.Unlock();
      if (grow) StartHelper();
      FolderList listed;
      std::vector<PendingFolder> subfolders;
      auto opened = threads_.Run(
          [&] { return Open(std::move(next), listed, subfolders); });
      const bool stop = StopRequested(options_);
      lock.Lock();
      std::move(subfolders.begin(), subfolders.end(),
                std::back_inserter(pending_));
      std::move(listed.begin(), listed.end(), std::back_inserter(done_));
      if (!opened && !failure_) failure_ = std::move(opened).failure();
      stopped_ = stopped_ || stop || failure_;
      --busy_;
      // This thread takes one of the new folders itself; waking more
      // threads than there is work for only makes them fight for the lock.
      if (busy_ == 0 || stopped_) {
        changed_.NotifyAll();
      } else {
        for (std::size_t i = 1; i < subfolders.size(); ++i) {
          changed_.NotifyOne();
        }
      }
    }
    changed_.NotifyAll();
  }

  void StartHelper() EXCLUDES(mutex_) {
    if (!helpers_.Start([this] {
          if (!helpers_.Run([this] { Work(); })) Stop({});
        })) {
      const MutexLock lock(mutex_);
      --helpersStarted_;
    }
  }

  // Ends the walk for every thread, with `failure` unless one came first.
  void Stop(std::optional<Failure> failure) EXCLUDES(mutex_) {
    const MutexLock lock(mutex_);
    if (!failure_) failure_ = std::move(failure);
    stopped_ = true;
    changed_.NotifyAll();
  }

  Outcome<void> Open(PendingFolder next, FolderList& listed,
                     std::vector<PendingFolder>& subfolders) {
    auto folder =
        next.parent != nullptr
            ? next.parent->OpenSubfolder(std::string(LastName(next.path)))
            : fs_.Reopen(next.path, next.id);
    next.parent.reset();
    if (!folder) return Unlisted(std::move(folder).failure(), listed);
    return List(std::move(*folder), listed, subfolders);
  }

  // Lists an open folder into `listed` and its subfolders into
  // `subfolders`, sharing the folder with them, to be opened from, while the
  // budget allows.
  Outcome<void> List(std::unique_ptr<FolderHandle> folder, FolderList& listed,
                     std::vector<PendingFolder>& subfolders) {
    std::vector<std::string> names;
    if (auto read = ListSubfolders(*folder, options_, names); !read) {
      return Unlisted(std::move(read).failure(), listed);
    }
    listed.push_back({folder->Path(), folder->Id(), {}});
    // A folder known to hold no folders needs no listing here: its files
    // are listed when its turn comes.
    std::erase_if(names, [&](const std::string& name) {
      const auto leaf = folder->LeafId(name);
      if (leaf) listed.push_back({JoinPath(folder->Path(), name), *leaf, {}});
      return leaf.has_value();
    });
    if (names.empty()) return {};
    if (const auto shared = Hold(folder)) {
      for (const std::string& name : names) {
        subfolders.push_back({JoinPath(shared->Path(), name), shared, {}});
      }
      return {};
    }
    // Past the budget: each is identified now and opened by path later.
    for (const std::string& name : names) {
      auto subfolder = folder->OpenSubfolder(name);
      if (!subfolder) {
        if (auto unlisted = Unlisted(std::move(subfolder).failure(), listed);
            !unlisted) {
          return unlisted;
        }
        continue;
      }
      subfolders.push_back({(*subfolder)->Path(), nullptr, (*subfolder)->Id()});
    }
    return {};
  }

  // Shares an open folder unless the budget is spent; then nothing, and
  // `folder` stays as it was.
  std::shared_ptr<FolderHandle> Hold(std::unique_ptr<FolderHandle>& folder) {
    if (held_.fetch_add(1) >= budget_) {
      --held_;
      return nullptr;
    }
    return {folder.release(), [this](FolderHandle* released) {
              delete released;
              --held_;
            }};
  }

  const FileSystem& fs_;
  const WalkOptions& options_;
  const std::size_t budget_;
  ThreadBudget threads_;
  std::atomic<std::size_t> held_ = 0;  // open folders shared in `pending_`
  Mutex mutex_;
  CondVar changed_;
  // Newest first: the walk goes deep before it goes wide, so few folders
  // wait with their subfolders at any time, whatever the tree's shape.
  // After `held_`, which it counts.
  std::vector<PendingFolder> pending_ GUARDED_BY(mutex_);
  unsigned idle_ GUARDED_BY(mutex_) = 0;  // threads waiting for a folder
  unsigned busy_ GUARDED_BY(mutex_) = 0;  // threads listing one
  unsigned helpersStarted_ GUARDED_BY(mutex_) = 0;
  bool stopped_ GUARDED_BY(mutex_) = false;
  std::optional<Failure> failure_ GUARDED_BY(mutex_);
  FolderList done_ GUARDED_BY(mutex_);
  HelperThreads helpers_;  // last, so joined before the rest goes
};

}  // namespace

Outcome<FolderList> GetSubDirectories(const FileSystem& fs,
                                      const std::string& dirctry,
                                      const WalkOptions& options) {
  auto base = fs.OpenFolder(dirctry);
  if (!base) return std::move(base).failure();
  FolderList list;
  if (options.all) {
    auto walked = Walk(fs, options).Run(std::move(*base));
    if (!walked) return std::move(walked).failure();
    list = std::move(*walked);
  } else {
    // Listed once here too, so that an unreadable base folder fails the
    // build before anything is written.
    list.push_back({dirctry, (*base)->Id(), {}});
    if (auto read = (*base)->List([](std::string_view, EntryKind) {}); !read) {
      list.back().unreadable = std::move(read).failure();
    }
  }
  if (StopRequested(options)) return FolderList();
  // Every path begins with the base folder's, so the base sorts first.
  std::sort(list.begin(), list.end(), [](const Folder& a, const Folder& b) {
    return OrdinalLess(a.path, b.path);
  });
  if (list.front().unreadable) return *list.front().unreadable;
  return list;
}

}  // namespace mapgen
