#pragma once

#include <condition_variable>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "BuildObserver.h"
#include "GetSubDirectories.h"
#include "SectionMaker.h"
#include "ThreadBudget.h"
#include "WorkerThreads.h"

namespace mapgen {

// Prepares the pieces of the folders' sections on helper threads while the
// page is written from them, in page order, on the calling thread. The
// helpers work on the earliest piece not yet taken, and never further than
// a fixed window ahead of the writer, so many folders and so many bytes:
// memory stays the same however large the tree or a folder. Helpers start
// as work waits for them, as the budget of `threads` allows. The writer
// prepares pieces too rather than wait, the one it needs first, so the page
// is written without any helper too.
class SectionPrefetch {
 public:
  SectionPrefetch(const SectionMaker& maker, const FolderList& folders,
                  const BuildObserver& observer, unsigned threads);
  ~SectionPrefetch();
  SectionPrefetch(const SectionPrefetch&) = delete;
  SectionPrefetch& operator=(const SectionPrefetch&) = delete;

  // The next piece in page order; nothing when the build was asked to stop
  // first. Throws what preparing a piece threw.
  std::optional<PagePiece> Next();

 private:
  // A piece: its folder's place in the list and its run in the folder.
  using Key = std::pair<std::size_t, std::size_t>;
  struct Work {
    Key key;
    std::shared_ptr<SectionPlan> plan;  // null for a folder's first piece
  };

  std::optional<Key> Startable(bool forWriter) const;
  void WakeHelper();
  void GrowIfWaiting();
  Work Take(Key key);
  void Do(Work work, std::unique_lock<std::mutex>& lock);
  void Help();
  void Stop();

  const SectionMaker& maker_;
  const FolderList& folders_;
  const BuildObserver& observer_;
  ThreadBudget budget_;
  std::mutex mutex_;
  std::condition_variable writerWakes_;
  std::condition_variable helperWakes_;
  std::size_t nextFolder_ = 0;  // the first folder none has taken
  std::map<Key, std::shared_ptr<SectionPlan>> waiting_;  // later runs
  std::map<Key, PagePiece> ready_;
  std::size_t readyBytes_ = 0;
  Key writer_ = {0, 0};  // the piece the writer needs next
  unsigned idle_ = 0;    // helpers waiting for work
  bool stopped_ = false;
  WorkerThreads helpers_;  // last, so joined before the rest goes
};

}  // namespace mapgen
