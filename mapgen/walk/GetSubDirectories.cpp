#include "GetSubDirectories.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "BuildFailure.h"
#include "Ordinal.h"
#include "Paths.h"
#include "SkipRules.h"
#include "ThreadBudget.h"
#include "WorkerThreads.h"

namespace mapgen {
namespace {

bool ListSubfolders(FolderHandle& folder, const WalkOptions& options,
                    std::vector<std::string>& names, Failure& failure) {
  return folder.List(
      [&](std::string_view name, EntryKind kind) {
        const bool walked = options.rules != nullptr
                                ? options.rules->Walks(name, kind)
                                : IsWalked(name, kind);
        if (walked) names.emplace_back(name);
      },
      failure);
}

bool StopRequested(const WalkOptions& options) {
  return options.stop != nullptr && options.stop->StopRequested();
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

// The walk, shared by its threads: folders waiting to be listed, and the
// count of folders being listed, which may still add more.
class Walk {
 public:
  Walk(const FileSystem& fs, const WalkOptions& options)
      : fs_(fs),
        options_(options),
        budget_(fs.HeldFolderBudget()),
        threads_(std::max(options.threads, 1u)),
        helpers_([this] { StopAfterError(); }) {}

  // Lists the folders below `base` on the calling thread and on helpers
  // that start while folders wait with no thread free to take them.
  FolderList Run(std::unique_ptr<FolderHandle> base) {
    List(std::move(base), done_, pending_);
    helpers_.Run([this] { Work(); });
    helpers_.Join();
    helpers_.RethrowFirstError();
    return std::move(done_);
  }

 private:
  void Work() {
    std::unique_lock lock(mutex_);
    while (true) {
      ++idle_;
      changed_.wait(
          lock, [this] { return !pending_.empty() || busy_ == 0 || stopped_; });
      --idle_;
      if (pending_.empty() || stopped_) break;
      PendingFolder next = std::move(pending_.back());
      pending_.pop_back();
      ++busy_;
      if (!pending_.empty() && idle_ == 0 &&
          helpers_.size() < threads_.Allowed()) {
        helpers_.Start(1, [this] { Work(); });
      }
      lock.unlock();
      std::vector<Folder> listed;
      std::vector<PendingFolder> subfolders;
      threads_.Run([&] { Open(std::move(next), listed, subfolders); });
      const bool stop = StopRequested(options_);
      lock.lock();
      std::move(subfolders.begin(), subfolders.end(),
                std::back_inserter(pending_));
      std::move(listed.begin(), listed.end(), std::back_inserter(done_));
      stopped_ = stopped_ || stop;
      --busy_;
      // This thread takes one of the new folders itself; waking more
      // threads than there is work for only makes them fight for the lock.
      if (busy_ == 0 || stopped_) {
        changed_.notify_all();
      } else {
        for (std::size_t i = 1; i < subfolders.size(); ++i) {
          changed_.notify_one();
        }
      }
    }
    changed_.notify_all();
  }

  void StopAfterError() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }

  void Open(PendingFolder next, std::vector<Folder>& listed,
            std::vector<PendingFolder>& subfolders) {
    Failure failure;
    auto folder = next.parent != nullptr
                      ? next.parent->OpenSubfolder(
                            std::string(LastName(next.path)), failure)
                      : fs_.Reopen(next.path, next.id, failure);
    next.parent.reset();
    if (folder == nullptr) {
      ThrowIfShortage(failure);
      listed.push_back({std::move(next.path), {}, failure.reason});
      return;
    }
    List(std::move(folder), listed, subfolders);
  }

  // Lists an open folder into `listed` and its subfolders into
  // `subfolders`, sharing the folder with them, to be opened from, while the
  // budget allows.
  void List(std::unique_ptr<FolderHandle> folder, std::vector<Folder>& listed,
            std::vector<PendingFolder>& subfolders) {
    listed.push_back({folder->Path(), folder->Id(), {}});
    std::vector<std::string> names;
    Failure failure;
    if (!ListSubfolders(*folder, options_, names, failure)) {
      ThrowIfShortage(failure);
      listed.back().failure = std::move(failure.reason);
      return;
    }
    // A folder known to hold no folders needs no listing here: its files
    // are listed when its turn comes.
    std::erase_if(names, [&](const std::string& name) {
      FileId id;
      if (!folder->IsLeaf(name, id)) return false;
      listed.push_back({JoinPath(folder->Path(), name), id, {}});
      return true;
    });
    if (names.empty()) return;
    if (const auto shared = Hold(folder)) {
      for (const std::string& name : names) {
        subfolders.push_back({JoinPath(shared->Path(), name), shared, {}});
      }
      return;
    }
    // Past the budget: each is identified now and opened by path later.
    for (const std::string& name : names) {
      const auto subfolder = folder->OpenSubfolder(name, failure);
      if (subfolder == nullptr) {
        ThrowIfShortage(failure);
        listed.push_back({failure.path, {}, failure.reason});
      } else {
        subfolders.push_back({subfolder->Path(), nullptr, subfolder->Id()});
      }
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
  unsigned idle_ = 0;
  std::atomic<std::size_t> held_ = 0;  // open folders shared in `pending_`
  std::mutex mutex_;
  std::condition_variable changed_;
  // Newest first: the walk goes deep before it goes wide, so few folders
  // wait with their subfolders at any time, whatever the tree's shape.
  std::vector<PendingFolder> pending_;  // after `held_`, which it counts
  unsigned busy_ = 0;
  bool stopped_ = false;
  FolderList done_;
  WorkerThreads helpers_;  // last, so joined before the rest goes
};

}  // namespace

FolderList GetSubDirectories(const FileSystem& fs, const std::string& dirctry,
                             const WalkOptions& options) {
  Failure failure;
  auto base = fs.OpenFolder(dirctry, failure);
  if (base == nullptr) throw BuildFailure(failure);
  FolderList list;
  if (options.all) {
    list = Walk(fs, options).Run(std::move(base));
  } else {
    // Listed once here too, so that an unreadable base folder fails the
    // build before anything is written.
    list.push_back({dirctry, base->Id(), {}});
    if (!base->List([](std::string_view, EntryKind) {}, failure)) {
      list.back().failure = failure.reason;
    }
  }
  if (StopRequested(options)) return {};
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
