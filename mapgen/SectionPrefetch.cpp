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
      helpers_([this] { Stop(); }) {}

SectionPrefetch::~SectionPrefetch() {
  Stop();
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

// Another helper, while work is left that nobody is free to take.
void SectionPrefetch::GrowIfWaiting() {
  if (!stopped_ && idle_ == 0 && helpers_.size() < budget_.Allowed() &&
      Startable(false)) {
    helpers_.Start(1, [this] { Help(); });
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

// Prepares one piece while `lock` is released, and hands it over with the
// further runs that a folder's first piece may bring, the lock taken again
// for the next piece of work.
void SectionPrefetch::Do(Work work, std::unique_lock<std::mutex>& lock) {
  lock.unlock();
  std::shared_ptr<SectionPlan> plan = work.plan;
  PagePiece piece;
  budget_.Run([&] {
    piece = plan == nullptr ? maker_.First(folders_[work.key.first], plan)
                            : maker_.Next(*plan, work.key.second);
  });
  lock.lock();
  if (work.key.second == 0 && plan != nullptr) {
    for (std::size_t run = 1; run < plan->Runs(); ++run) {
      waiting_.emplace(Key{work.key.first, run}, plan);
    }
  }
  readyBytes_ += piece.Bytes();
  ready_.emplace(work.key, std::move(piece));
  if (work.key == writer_ || waiting_.contains(writer_)) {
    writerWakes_.notify_one();
  }
  WakeHelper();
}

// One idle helper at a time: each that takes work wakes the next while
// work is left, rather than all of them fighting for the lock at once.
void SectionPrefetch::WakeHelper() {
  if (idle_ > 0 && Startable(false)) helperWakes_.notify_one();
  GrowIfWaiting();
}

// A helper's loop. What a piece of work throws ends it, its lock released
// on the way out, and the helper threads keep it for the writer.
void SectionPrefetch::Help() {
  std::unique_lock lock(mutex_);
  while (!stopped_) {
    std::optional<Key> key = Startable(false);
    if (!key) {
      ++idle_;
      helperWakes_.wait(lock);
      --idle_;
      continue;
    }
    if (observer_.StopRequested()) {
      lock.unlock();
      Stop();
      return;
    }
    Work work = Take(*key);
    WakeHelper();
    Do(std::move(work), lock);
  }
}

std::optional<PagePiece> SectionPrefetch::Next() {
  std::unique_lock lock(mutex_);
  while (true) {
    const auto ready = ready_.find(writer_);
    if (ready != ready_.end()) {
      PagePiece piece = std::move(ready->second);
      ready_.erase(ready);
      readyBytes_ -= piece.Bytes();
      writer_ = piece.endsFolder ? Key{writer_.first + 1, 0}
                                 : Key{writer_.first, writer_.second + 1};
      WakeHelper();
      return piece;
    }
    if (stopped_) {
      lock.unlock();
      helpers_.RethrowFirstError();
      return std::nullopt;
    }
    if (const auto key = Startable(true)) {
      Work work = Take(*key);
      WakeHelper();
      Do(std::move(work), lock);
      continue;
    }
    writerWakes_.wait(lock);
  }
}

void SectionPrefetch::Stop() {
  const std::lock_guard lock(mutex_);
  stopped_ = true;
  writerWakes_.notify_all();
  helperWakes_.notify_all();
}

}  // namespace mapgen
