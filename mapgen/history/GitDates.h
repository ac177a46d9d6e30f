#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"
#include "Outcome.h"
#include "StopCheck.h"

namespace mapgen {

class ChildProgram;
class GitContentIds;

// The dates that a git work tree's history gives the files below a
// folder: for each file that is committed and unchanged, the time of the
// last commit that changed it (or gave it its name). Found with a fixed
// number of runs of git for the whole tree, whatever its size: the work
// tree's place, the files staged differently from the last commit, and
// the history, read newest first and only until every committed file has
// its date. Whether a file is unchanged since it was staged is told as
// git tells it, from the status data git's index keeps, which the build
// compares with the file's own; git reads only the files whose data leave
// doubt. Where this cannot read the index, git compares the whole tree.
// Git runs as the user would run it, its own rule on whose repositories
// it may read included.
class GitDates {
 public:
  // Finds, with the program `git`, which files below `folder` are
  // committed and how git last saw them, and starts git on the history,
  // which ReadHistory reads. Fails when the folder lies in no work tree,
  // git cannot be run, or `stop` asks to end; `stop` is kept, and asked,
  // until the history is read.
  static Outcome<std::unique_ptr<GitDates>> Start(
      const std::string& folder, const StopCheck& stop,
      const std::string& git = "git");

  // Reads the history newest first, until every committed file has its
  // date; Find waits for it meanwhile, on other threads. Fails as Start.
  Outcome<void> ReadHistory();

  // Whether the history was cut short, so that the oldest files bear the
  // time of the oldest commit there is.
  bool shallow() const { return shallow_; }

  GitDates(const std::string& folder, const StopCheck& stop,
           const std::string& git);
  ~GitDates();
  GitDates(const GitDates&) = delete;
  GitDates& operator=(const GitDates&) = delete;

  // A file committed and unchanged, which the history dates.
  struct Committed {
    std::uint32_t entry;
  };

  // Whether the file at `path` from the folder ("docs/a.html") is
  // committed and unchanged: `facts` are the file's own, found as links
  // are followed, and `link` whether its name is a link. Any thread may
  // ask.
  std::optional<Committed> Find(std::string_view path, const FileFacts& facts,
                                bool link = false) const;

  // Asks the memory at once for what Find will read to find each of
  // `paths`, so that the waits for it overlap.
  void Prefetch(std::span<const std::string> paths) const;

  // The date of a committed file, once the history has given it; `wait`
  // waits for that. None where the history has yet to give it, or ended
  // without (when it could not be read). Any thread may ask.
  std::optional<std::time_t> DateOf(Committed file, bool wait) const;

 private:
  // A committed file's date before the history reaches it.
  static constexpr std::time_t kUndated = -1;

  // A committed file: its name's place in `names_`, its date, and how the
  // index saw it when it was staged.
  struct Entry {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    // Given by the history, on its own thread, while others read it.
    mutable std::time_t date = 0;
    FileStamp stamp;
    std::uint32_t size = 0;
    std::uint32_t mode = 0;
    std::uint32_t id = 0;  // its object id's place in `ids_`
    bool taken = false;    // unchanged in git's eyes without a look
    bool changed = false;  // since the last commit, as git tells it
  };

  std::string_view NameOf(const Entry& entry) const {
    return std::string_view(names_).substr(entry.start, entry.length);
  }
  void AddName(std::string_view name);
  void MarkAllChanged();
  bool Unchanged(const Entry& entry, const FileFacts& facts,
                 std::string_view path) const;
  void EndHistory();
  bool SameContent(const Entry& entry, std::string_view path) const;
  bool MindsExecuteBit() const;
  void Index();
  // The place + 1 of the entry named `name`; 0 when there is none.
  std::uint32_t SlotOf(std::string_view name) const;
  Entry* Lookup(std::string_view name);

  // Every committed file's name one after another, and a table of open
  // addressing over them: as small as the list git gives, and quick to
  // search, for trees of any size.
  std::string names_;
  std::vector<Entry> entries_;
  std::vector<std::uint32_t> slots_;  // an entry's place + 1; 0 for none
  std::size_t undated_ = 0;
  bool shallow_ = false;

  // What the index tells, when it was read here: the object ids, one
  // after another; the index's time.
  bool byIndex_ = false;
  std::string ids_;
  std::size_t idSize_ = 0;
  std::int64_t indexSeconds_ = 0;
  // Whether git minds the execute bit, once asked.
  mutable std::once_flag fileModeAsked_;
  mutable bool fileMode_ = true;
  // Tells the object ids of the files whose status data leave doubt.
  std::unique_ptr<GitContentIds> contentIds_;

  // The history as it is read: git's run, the folder's place below the
  // top of the work tree, and what tells threads that wait for a date of
  // each date the history gives and of its end.
  const std::string folder_;
  const StopCheck& stop_;
  const std::string git_;
  std::unique_ptr<ChildProgram> history_;
  std::string prefix_;
  mutable std::mutex historyMutex_;
  mutable std::condition_variable historyMoved_;
  std::atomic<bool> historyRead_ = false;

  friend class GitDatesReader;
};

}  // namespace mapgen
