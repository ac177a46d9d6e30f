#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "BuildObserver.h"
#include "GetSubDirectories.h"
#include "HelperThreads.h"
#include "Mutex.h"
#include "SectionMaker.h"
#include "ThreadBudget.h"

namespace mapgen {

// Prepares the pieces of the folders' sections on helper threads while the
// page is written from them, in page order, on the calling thread. The
// helpers work on the earliest piece not yet taken, and never further than
// a fixed window ahead of the writer, so many folders and so many bytes:
// memory stays the same however large the tree or a folder. Helpers start
// as work waits for them, as the budget of `threads` allows, and keep the
// rules that HelperThreads states. The writer prepares pieces too rather
// than wait, the one it needs first, so the page is written without any
// helper too.
class SectionPrefetch {
 public:
  SectionPrefetch(const SectionMaker& maker, const FolderList& folders,
                  const BuildObserver& observer, unsigned threads);
  ~SectionPrefetch();
  SectionPrefetch(const SectionPrefetch&) = delete;
  SectionPrefetch& operator=(const SectionPrefetch&) = delete;

  // The next piece in page order; nothing when the build was asked to stop
  // first. Throws what preparing a piece threw.
  Outcome<std::optional<PagePiece>> Next() EXCLUDES(mutex_);

 private:
  // A piece: its folder's place in the list and its run in the folder.
  using Key = std::pair<std::size_t, std::size_t>;
  struct Work {
    Key key;
    std::shared_ptr<SectionPlan> plan;  // null for a folder's first piece
  };

  std::optional<Key> Startable(bool forWriter) const REQUIRES(mutex_);
  bool WakeHelper() REQUIRES(mutex_);
  Work Take(Key key) REQUIRES(mutex_);
  Outcome<PagePiece> Make(Work& work);
  bool HandOver(const Work& work, Outcome<PagePiece> made) REQUIRES(mutex_);
  void StartHelper() EXCLUDES(mutex_);
  void Help() EXCLUDES(mutex_);
  void Stop(std::optional<Failure> failure) EXCLUDES(mutex_);
  void StopLocked(std::optional<Failure> failure) REQUIRES(mutex_);

  const SectionMaker& maker_;
  const FolderList& folders_;
  const BuildObserver& observer_;
  ThreadBudget budget_;
  Mutex mutex_;
  CondVar writerWakes_;
  CondVar helperWakes_;
  // The first folder none has taken.
  std::size_t nextFolder_ GUARDED_BY(mutex_) = 0;
  // The later runs of folders taken, none of them taken yet.
  std::map<Key, std::shared_ptr<SectionPlan>> waiting_ GUARDED_BY(mutex_);
  std::map<Key, PagePiece> ready_ GUARDED_BY(mutex_);
  std::size_t readyBytes_ GUARDED_BY(mutex_) = 0;
  Key writer_ GUARDED_BY(mutex_) = {0, 0};  // the piece the writer needs next
  unsigned idle_ GUARDED_BY(mutex_) = 0;    // helpers waiting for work
  unsigned helpersStarted_ GUARDED_BY(mutex_) = 0;
  bool stopped_ GUARDED_BY(mutex_) = false;
  std::optional<Failure> failure_ GUARDED_BY(mutex_);
  HelperThreads helpers_;  // last, so joined before the rest goes
};

}  // namespace mapgen
