#include "GetSubDirectories.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "HelperThreads.h"
#include "Mutex.h"
#include "Paths.h"
#include "SkipRules.h"
#include "ThreadBudget.h"

namespace mapgen {
namespace {

bool Walks(const WalkOptions& options, std::string_view name, EntryKind kind) {
  return options.rules != nullptr ? options.rules->Walks(name, kind)
                                  : IsWalked(name, kind);
}

bool StopRequested(const WalkOptions& options) {
  return options.stop != nullptr && options.stop->StopRequested();
}

// A folder that cannot be opened or listed counts as one without
// subfolders or files, unless the machine ran short, which may hit any
// folder and so ends the walk.
Outcome<void> Unlisted(Failure failure) {
  if (IsShortage(failure)) return failure;
  return {};
}

// Subfolders are added to the tree this many at a time while their folder
// is listed, so that a folder of a million of them never holds a million
// names twice.
constexpr std::size_t kNamesAtOnce = 4096;

// A folder waiting to be listed, by its number in the tree. It is opened
// from its parent, which stays open meanwhile, by the thread that lists
// it; past the budget of open folders it is opened by its path instead,
// and only if it is still the same folder.
struct PendingFolder {
  FolderTree::Number folder;
  std::shared_ptr<FolderHandle> parent;  // null: open by path
};

// The walk, shared by its threads (see HelperThreads for their rules):
// folders waiting to be listed, the count of folders being listed, which
// may still add more, and the tree of the folders found so far.
class Walk {
 public:
  Walk(const FileSystem& fs, const WalkOptions& options, FolderTree& tree)
      : fs_(fs),
        options_(options),
        budget_(fs.HeldFolderBudget()),
        threads_(std::max(options.threads, 1u)),
        tree_(tree),
        helpers_(threads_.Most()) {}

  // Lists the folders below `base` on the calling thread and on helpers
  // that start while folders wait with no thread free to take them.
  Outcome<void> Run(std::unique_ptr<FolderHandle> base) {
    std::vector<PendingFolder> subfolders;
    if (auto first = List(0, std::move(base), subfolders); !first) {
      return first;
    }
    {
      const MutexLock lock(mutex_);
      pending_ = std::move(subfolders);
    }
    if (!helpers_.Run([this] { Work(); })) Stop({});
    helpers_.Join();
    helpers_.RethrowFirstError();
    const MutexLock lock(mutex_);
    if (failure_) return *failure_;
    return {};
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
      std::vector<PendingFolder> subfolders;
      auto opened =
          threads_.Run([&] { return Open(std::move(next), subfolders); });
      const bool stop = StopRequested(options_);
      lock.Lock();
      std::move(subfolders.begin(), subfolders.end(),
                std::back_inserter(pending_));
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

  Outcome<void> Open(PendingFolder next, std::vector<PendingFolder>& subfolders)
      EXCLUDES(mutex_) {
    std::string path;
    FileId id;
    {
      const MutexLock lock(mutex_);
      path = tree_.Path(next.folder);
      id = tree_.Id(next.folder);
    }
    auto folder = next.parent != nullptr
                      ? next.parent->OpenSubfolder(std::string(LastName(path)))
                      : fs_.Reopen(path, id);
    next.parent.reset();
    if (!folder) return MarkUnlisted(next.folder, std::move(folder).failure());
    return List(next.folder, std::move(*folder), subfolders);
  }

  Outcome<void> MarkUnlisted(FolderTree::Number folder, Failure failure)
      EXCLUDES(mutex_) {
    if (auto unlisted = Unlisted(failure); !unlisted) return unlisted;
    const MutexLock lock(mutex_);
    tree_.MarkUnreadable(folder, std::move(failure));
    return {};
  }

  // Lists the open folder `number`, adding its subfolders to the tree and
  // those that may hold folders to `subfolders`, sharing the folder with
  // them, to be opened from, while the budget allows.
  Outcome<void> List(FolderTree::Number number,
                     std::unique_ptr<FolderHandle> folder,
                     std::vector<PendingFolder>& subfolders) EXCLUDES(mutex_) {
    {
      const MutexLock lock(mutex_);
      tree_.Identify(number, folder->Id());
    }
    // Those that may hold folders: their numbers, and their names.
    std::vector<FolderTree::Number> inner;
    std::string innerNames;
    std::vector<std::size_t> innerEnds;
    std::string names;
    std::vector<std::size_t> ends;
    const auto add = [&] {
      AddFound(number, *folder, names, ends, inner, innerNames, innerEnds);
      names.clear();
      ends.clear();
    };
    auto read = folder->List([&](std::string_view name, EntryKind kind) {
      if (!Walks(options_, name, kind)) return;
      names += name;
      ends.push_back(names.size());
      if (ends.size() == kNamesAtOnce) add();
    });
    add();
    if (!read) return MarkUnlisted(number, std::move(read).failure());
    if (inner.empty()) return {};
    if (const auto shared = Hold(folder)) {
      for (const FolderTree::Number subfolder : inner) {
        subfolders.push_back({subfolder, shared});
      }
      return {};
    }
    // Past the budget: each is identified now and opened by path later.
    std::size_t start = 0;
    for (std::size_t i = 0; i < inner.size(); ++i) {
      const std::string name = innerNames.substr(start, innerEnds[i] - start);
      start = innerEnds[i];
      auto subfolder = folder->OpenSubfolder(name);
      if (!subfolder) {
        if (auto unlisted =
                MarkUnlisted(inner[i], std::move(subfolder).failure());
            !unlisted) {
          return unlisted;
        }
        continue;
      }
      {
        const MutexLock lock(mutex_);
        tree_.Identify(inner[i], (*subfolder)->Id());
      }
      subfolders.push_back({inner[i], nullptr});
    }
    return {};
  }

  // Adds the subfolders `names` of the folder `number` to the tree: one
  // known to hold no folders with its identity, needing no listing of its
  // own here (its files are listed when its turn comes); the others to
  // `inner`, to be listed.
  void AddFound(FolderTree::Number number, FolderHandle& folder,
                const std::string& names, const std::vector<std::size_t>& ends,
                std::vector<FolderTree::Number>& inner, std::string& innerNames,
                std::vector<std::size_t>& innerEnds) EXCLUDES(mutex_) {
    std::vector<std::optional<FileId>> leaves;
    std::size_t start = 0;
    for (const std::size_t end : ends) {
      leaves.push_back(folder.LeafId(names.substr(start, end - start)));
      start = end;
    }
    const MutexLock lock(mutex_);
    start = 0;
    for (std::size_t i = 0; i < ends.size(); ++i) {
      const std::string_view name =
          std::string_view(names).substr(start, ends[i] - start);
      start = ends[i];
      const FolderTree::Number added = tree_.Add(number, name);
      if (leaves[i]) {
        tree_.Identify(added, *leaves[i]);
        continue;
      }
      inner.push_back(added);
      innerNames += name;
      innerEnds.push_back(innerNames.size());
    }
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
  FolderTree& tree_ GUARDED_BY(mutex_);
  // Newest first: the walk goes deep before it goes wide, so few folders
  // wait with their subfolders at any time, whatever the tree's shape.
  // After `held_`, which it counts.
  std::vector<PendingFolder> pending_ GUARDED_BY(mutex_);
  unsigned idle_ GUARDED_BY(mutex_) = 0;  // threads waiting for a folder
  unsigned busy_ GUARDED_BY(mutex_) = 0;  // threads listing one
  unsigned helpersStarted_ GUARDED_BY(mutex_) = 0;
  bool stopped_ GUARDED_BY(mutex_) = false;
  std::optional<Failure> failure_ GUARDED_BY(mutex_);
  HelperThreads helpers_;  // last, so joined before the rest goes
};

}  // namespace

Outcome<FolderList> GetSubDirectories(const FileSystem& fs,
                                      const std::string& dirctry,
                                      const WalkOptions& options) {
  auto base = fs.OpenFolder(dirctry);
  if (!base) return std::move(base).failure();
  FolderTree tree(dirctry);
  if (options.all) {
    if (auto walked = Walk(fs, options, tree).Run(std::move(*base)); !walked) {
      return std::move(walked).failure();
    }
  } else {
    // Listed once here too, so that an unreadable base folder fails the
    // build before anything is written.
    tree.Identify(0, (*base)->Id());
    if (auto read = (*base)->List([](std::string_view, EntryKind) {}); !read) {
      tree.MarkUnreadable(0, std::move(read).failure());
    }
  }
  if (StopRequested(options)) return FolderList();
  if (const auto unreadable = tree.At(0).unreadable) return *unreadable;
  std::vector<FolderTree::Number> order = tree.InPathOrder();
  return FolderList(std::move(tree), std::move(order));
}

}  // namespace mapgen
