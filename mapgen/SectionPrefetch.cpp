#include "SectionPrefetch.h"

namespace mapgen {
namespace {

// How far the helpers may run ahead of the writer. Enough folders to keep
// many reads in flight on a cold disk; few enough bytes that a folder of
// long titles never fills the memory.
constexpr std::size_t kFoldersAhead = 128;
constexpr std::size_t kBytesAhead = 4 << 20;

}  // namespace

SectionPrefetch::SectionPrefetch(const SectionMaker& maker,
                                 const FolderList& folders,
                                 const BuildObserver& observer,
                                 unsigned threads)
    : maker_(maker),
      folders_(folders),
      observer_(observer),
      budget_(threads),
      helpers_(budget_.Most()) {}

SectionPrefetch::~SectionPrefetch() {
  Stop({});
  helpers_.Join();
}

// The earliest piece that may be started now: the next run of a folder
// already taken, or else the next folder. Past the window only the piece
// the writer needs, and only that for the writer when the work waits on
// the disk: a piece ahead would keep it from the one it needs.
std::optional<SectionPrefetch::Key> SectionPrefetch::Startable(
    bool forWriter) const {
  Key key;
  if (!waiting_.empty()) {
    key = waiting_.begin()->first;
  } else if (nextFolder_ < folders_.size()) {
    key = {nextFolder_, 0};
  } else {
    return std::nullopt;
  }
  if (key == writer_) return key;
  if (forWriter && budget_.WorkWaits()) return std::nullopt;
  const bool inWindow =
      key.first < writer_.first + kFoldersAhead && readyBytes_ < kBytesAhead;
  return inWindow ? std::optional(key) : std::nullopt;
}

// Wakes one idle helper while work is left, rather than all of them to
// fight for the lock at once; each that takes work wakes the next. Whether
// another helper is wanted, for work left that nobody is free to take: it
// is counted now and started by the caller once the lock is let go.
bool SectionPrefetch::WakeHelper() {
  if (stopped_ || !Startable(false)) return false;
  if (idle_ > 0) {
    helperWakes_.NotifyOne();
    return false;
  }
  if (helpersStarted_ >= budget_.Allowed()) return false;
  ++helpersStarted_;
  return true;
}

void SectionPrefetch::StartHelper() {
  const bool started = helpers_.Start([this] {
    if (!helpers_.Run([this] { Help(); })) Stop({});
  });
  if (!started) {
    const MutexLock lock(mutex_);
    --helpersStarted_;
  }
}

SectionPrefetch::Work SectionPrefetch::Take(Key key) {
  if (key.second == 0) {
    ++nextFolder_;
    return {key, nullptr};
  }
  const auto node = waiting_.extract(key);
  return {key, node.mapped()};
}

// Prepares one piece, with no lock held; a folder's first piece sets the
// plan of its further runs.
Outcome<PagePiece> SectionPrefetch::Make(Work& work) {
  return budget_.Run([&] {
    return work.plan == nullptr
               ? maker_.First(folders_[work.key.first], work.plan)
               : maker_.Next(*work.plan, work.key.second);
  });
}

// Hands over a piece, with the further runs that a folder's first piece
// brings, or stops every thread with its failure; whether another helper
// is wanted (see WakeHelper).
bool SectionPrefetch::HandOver(const Work& work, Outcome<PagePiece> made) {
  if (!made) {
    StopLocked(std::move(made).failure());
    return false;
  }
  if (work.key.second == 0 && work.plan != nullptr) {
    for (std::size_t run = 1; run < work.plan->Runs(); ++run) {
      waiting_.emplace(Key{work.key.first, run}, work.plan);
    }
  }
  readyBytes_ += made->Bytes();
  ready_.emplace(work.key, std::move(*made));
  if (work.key == writer_ || waiting_.contains(writer_)) {
    writerWakes_.NotifyOne();
  }
  return WakeHelper();
}

// A helper's loop. What a piece of work throws ends it, its lock let go
// on the way out, and the helper threads keep it for the writer.
void SectionPrefetch::Help() {
  MutexLock lock(mutex_);
  while (!stopped_) {
    const std::optional<Key> key = Startable(false);
    if (!key) {
      ++idle_;
      helperWakes_.Wait(lock);
      --idle_;
      continue;
    }
    Work work = Take(*key);
    bool grow = WakeHelper();
    lock.Unlock();
    if (grow) StartHelper();
    if (observer_.StopRequested()) {
      Stop({});
      return;
    }
    Outcome<PagePiece> made = Make(work);
    lock.Lock();
    grow = HandOver(work, std::move(made));
    if (grow) {
      lock.Unlock();
      StartHelper();
      lock.Lock();
    }
  }
}

Outcome<std::optional<PagePiece>> SectionPrefetch::Next() {
  MutexLock lock(mutex_);
  while (true) {
    if (const auto ready = ready_.find(writer_); ready != ready_.end()) {
      PagePiece piece = std::move(ready->second);
      ready_.erase(ready);
      readyBytes_ -= piece.Bytes();
      writer_ = piece.endsFolder ? Key{writer_.first + 1, 0}
                                 : Key{writer_.first, writer_.second + 1};
      const bool grow = WakeHelper();
      lock.Unlock();
      if (grow) StartHelper();
      return std::optional(std::move(piece));
    }
    if (stopped_) {
      std::optional<Failure> failure = failure_;
      lock.Unlock();
      helpers_.RethrowFirstError();
      if (failure) return *std::move(failure);
      return std::optional<PagePiece>();
    }
    if (const auto key = Startable(true)) {
      Work work = Take(*key);
      const bool grow = WakeHelper();
      lock.Unlock();
      if (grow) StartHelper();
      Outcome<PagePiece> made = Make(work);
      lock.Lock();
      if (HandOver(work, std::move(made))) {
        lock.Unlock();
        StartHelper();
        lock.Lock();
      }
      continue;
    }
    writerWakes_.Wait(lock);
  }
}

void SectionPrefetch::Stop(std::optional<Failure> failure) {
  const MutexLock lock(mutex_);
  StopLocked(std::move(failure));
}

// Ends the work of every thread, with `failure` unless one came first.
void SectionPrefetch::StopLocked(std::optional<Failure> failure) {
  if (!failure_) failure_ = std::move(failure);
  stopped_ = true;
  writerWakes_.NotifyAll();
  helperWakes_.NotifyAll();
}

}  // namespace mapgen
