#include "GitDates.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "ChildProgram.h"
#include "GitContentIds.h"
#include "GitDatesReader.h"
#include "GitIndex.h"

namespace mapgen {
namespace {

constexpr std::uint32_t kExecuteBit = 0100;

// Whether the status data git keeps of a file are the file's now, as git
// compares them: its times to the nanosecond unless git keeps whole
// seconds, the 32 bits of the inode it keeps, and owner and group.
bool SameStatus(const FileStamp& kept, const FileStamp& now) {
  const auto low = [](auto value) { return static_cast<std::uint32_t>(value); };
  const bool wholeSeconds =
      kept.modifiedNanoseconds == 0 && kept.changedNanoseconds == 0;
  return low(kept.modifiedSeconds) == low(now.modifiedSeconds) &&
         low(kept.changedSeconds) == low(now.changedSeconds) &&
         (wholeSeconds ||
          (kept.modifiedNanoseconds == now.modifiedNanoseconds &&
           kept.changedNanoseconds == now.changedNanoseconds)) &&
         low(kept.inode) == low(now.inode) && kept.user == now.user &&
         kept.group == now.group;
}

}  // namespace

GitDates::GitDates(const std::string& folder, const StopCheck& stop,
                   const std::string& git)
    : folder_(folder), stop_(stop), git_(git) {}

GitDates::~GitDates() = default;

Outcome<std::unique_ptr<GitDates>> GitDates::Start(const std::string& folder,
                                                   const StopCheck& stop,
                                                   const std::string& git) {
  auto dates = std::make_unique<GitDates>(folder, stop, git);
  GitDatesReader reader(dates->folder_, stop, dates->git_);
  // The history takes git the longest to read: it starts first, and runs
  // while the rest is found.
  auto log = reader.StartHistory();
  if (!log) return std::move(log).failure();
  auto place = reader.Place(*dates);
  if (!place) return std::move(place).failure();
  const std::optional<std::string> indexTree = reader.FromIndex(*place, *dates);
  const std::string& headTree = place->headTree;
  Outcome<void> read;
  if (indexTree) {
    dates->contentIds_ =
        std::make_unique<GitContentIds>(place->top, place->prefix, git);
    // An index that would commit the last commit's tree stages nothing new.
    if (!headTree.empty() && *indexTree != headTree) {
      read = reader.MarkStaged(place->prefix, *dates);
    }
  } else {
    read = reader.ByStatus(place->prefix, *dates);
  }
  if (!read) return std::move(read).failure();
  // Before the first commit, nothing is committed.
  if (headTree.empty()) dates->MarkAllChanged();
  dates->history_ = std::move(*log);
  dates->prefix_ = place->prefix;
  return dates;
}

Outcome<void> GitDates::ReadHistory() {
  // However the reading ends, no thread waits for a date any longer.
  struct Ending {
    GitDates& dates;
    ~Ending() { dates.EndHistory(); }
  } ending{*this};
  if (history_ == nullptr) return {};
  GitDatesReader reader(folder_, stop_, git_);
  auto read = reader.Date(*history_, prefix_, *this);
  history_.reset();
  return read;
}

void GitDates::EndHistory() {
  {
    const std::scoped_lock lock(historyMutex_);
    historyRead_ = true;
  }
  historyMoved_.notify_all();
}

std::optional<std::time_t> GitDates::DateOf(Committed file, bool wait) const {
  const std::atomic_ref date(entries_[file.entry].date);
  const auto known = [&] {
    return date.load(std::memory_order_acquire) != kUndated ||
           historyRead_.load(std::memory_order_acquire);
  };
  if (wait && !known()) {
    std::unique_lock lock(historyMutex_);
    historyMoved_.wait(lock, known);
  }
  const std::time_t given = date.load(std::memory_order_acquire);
  if (given == kUndated) return std::nullopt;
  return given;
}

void GitDates::MarkAllChanged() {
  for (Entry& entry : entries_) entry.changed = true;
  undated_ = 0;
}

void GitDates::AddName(std::string_view name) {
  Entry& entry = entries_.emplace_back();
  entry.start = static_cast<std::uint32_t>(names_.size());
  entry.length = static_cast<std::uint32_t>(name.size());
  entry.date = kUndated;
  names_ += name;
}

// Fills the table, twice as large as the names need, so that a search
// seldom goes past a few slots.
void GitDates::Index() {
  slots_.assign(std::bit_ceil(entries_.size() * 2 + 1), 0);
  const std::size_t mask = slots_.size() - 1;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    // A name listed twice (a file in conflict) is one file, changed; the
    // index lists the two one after the other.
    if (kept > 0 && NameOf(entries_[kept - 1]) == NameOf(entries_[i])) {
      entries_[kept - 1].changed = true;
      continue;
    }
    entries_[kept] = entries_[i];
    std::size_t slot = std::hash<std::string_view>()(NameOf(entries_[kept]));
    while (slots_[slot & mask] != 0) ++slot;
    slots_[slot & mask] = static_cast<std::uint32_t>(++kept);
  }
  entries_.resize(kept);
  undated_ = static_cast<std::size_t>(std::ranges::count_if(
      entries_, [](const Entry& entry) { return !entry.changed; }));
}

std::uint32_t GitDates::SlotOf(std::string_view name) const {
  if (slots_.empty()) return 0;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = std::hash<std::string_view>()(name);; ++slot) {
    const std::uint32_t index = slots_[slot & mask];
    if (index == 0 || NameOf(entries_[index - 1]) == name) return index;
  }
}

GitDates::Entry* GitDates::Lookup(std::string_view name) {
  const std::uint32_t index = SlotOf(name);
  return index == 0 ? nullptr : &entries_[index - 1];
}

void GitDates::Prefetch(std::span<const std::string> paths) const {
  if (slots_.empty()) return;
  const std::size_t mask = slots_.size() - 1;
  std::vector<std::size_t> hashes;
  hashes.reserve(paths.size());
  for (const std::string& path : paths) {
    hashes.push_back(std::hash<std::string_view>()(path));
    __builtin_prefetch(&slots_[hashes.back() & mask]);
  }
  for (const std::size_t hash : hashes) {
    if (const std::uint32_t index = slots_[hash & mask]) {
      __builtin_prefetch(&entries_[index - 1]);
    }
  }
}

std::optional<GitDates::Committed> GitDates::Find(std::string_view path,
                                                  const FileFacts& facts,
                                                  bool link) const {
  const std::uint32_t index = SlotOf(path);
  if (index == 0) return std::nullopt;
  const Entry& entry = entries_[index - 1];
  if (entry.changed) return std::nullopt;
  // A link where git has a file is a change of kind.
  if (byIndex_ && !entry.taken && (link || !Unchanged(entry, facts, path))) {
    return std::nullopt;
  }
  return Committed{index - 1};
}

// Tells a file unchanged since it was staged as git does: by the same
// status data, unless the file may have changed in the second the index
// was written; changed when its execute bit or its size already tell; or
// else by its content.
bool GitDates::Unchanged(const Entry& entry, const FileFacts& facts,
                         std::string_view path) const {
  if (((entry.mode ^ facts.stamp.mode) & kExecuteBit) != 0 &&
      MindsExecuteBit()) {
    return false;
  }
  const bool sameSize = entry.size == static_cast<std::uint32_t>(facts.size);
  const bool racy = indexSeconds_ <= entry.stamp.modifiedSeconds;
  if (sameSize && !racy && SameStatus(entry.stamp, facts.stamp)) return true;
  // A size of 0 is git's own mark of a file it was unsure of.
  if (!sameSize && entry.size != 0) return false;
  return SameContent(entry, path);
}

// Asks git the first time a file's execute bit differs from the index's,
// which seldom happens; by then the history may be read and `stop_` gone,
// and the question is too short to be worth stopping.
bool GitDates::MindsExecuteBit() const {
  std::call_once(fileModeAsked_, [this] {
    const StopCheck never;
    fileMode_ = GitDatesReader(folder_, never, git_).FileMode();
  });
  return fileMode_;
}

bool GitDates::SameContent(const Entry& entry, std::string_view path) const {
  const std::optional<std::string> now = contentIds_->Of(path);
  return now && *now == HexadecimalId(
                            std::string_view(ids_).substr(entry.id, idSize_));
}

}  // namespace mapgen
