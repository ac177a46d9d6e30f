#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Outcome.h"
#include "StopCheck.h"

namespace mapgen {

// The dates that a git work tree's history gives the files below a
// folder: for each file that is committed and unchanged, the time of the
// last commit that changed it (or gave it its name). Found with four runs
// of git for the whole tree, whatever its size: the work tree's place,
// its committed files, its changed files and its history, the history
// read newest first and only until every committed file has its date;
// the changed files are found while the others run. Git runs as the user
// would run it, its own rule on whose repositories it may read included.
class GitDates {
 public:
  // Reads the dates below `folder` with the program `git`; fails when the
  // folder lies in no work tree, git cannot be run, or `stop` asks to end.
  static Outcome<GitDates> Load(const std::string& folder,
                                const StopCheck& stop = StopCheck(),
                                const std::string& git = "git");

  // Whether the history was cut short, so that the oldest files bear the
  // time of the oldest commit there is.
  bool shallow() const { return shallow_; }

  // The date of the file at `path` from the folder ("docs/a.html"), when
  // it is committed and unchanged.
  std::optional<std::time_t> Find(std::string_view path) const;

 private:
  // A committed file: its name's place in `names_`, and its date.
  struct Entry {
    std::uint32_t start;
    std::uint32_t length;
    std::time_t date;
  };

  std::string_view NameOf(const Entry& entry) const {
    return std::string_view(names_).substr(entry.start, entry.length);
  }
  void AddName(std::string_view name);
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

  friend class GitDatesReader;
};

}  // namespace mapgen
