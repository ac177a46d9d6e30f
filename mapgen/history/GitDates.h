#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "Outcome.h"

namespace mapgen {

// The dates that a git work tree's history gives the files below a
// folder: for each file that is committed and unchanged, the time of the
// last commit that changed it (or gave it its name). Found with four runs
// of git for the whole tree, whatever its size: the work tree's place,
// its committed files, its changed files and its history, the history
// read newest first and only until every committed file has its date.
// Git runs as the user would run it, its own rule on whose repositories
// it may read included.
class GitDates {
 public:
  // Reads the dates below `folder` with the program `git`; fails when the
  // folder lies in no work tree or git cannot be run.
  static Outcome<GitDates> Load(const std::string& folder,
                                const std::string& git = "git");

  // Whether the history was cut short, so that the oldest files bear the
  // time of the oldest commit there is.
  bool shallow() const { return shallow_; }

  // The date of the file at `path` from the folder ("docs/a.html"), when
  // it is committed and unchanged.
  std::optional<std::time_t> Find(std::string_view path) const;

  std::size_t size() const { return dates_.size(); }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>()(text);
    }
  };
  // Every committed file, undated (-1) until the history reaches it.
  std::unordered_map<std::string, std::time_t, Hash, std::equal_to<>> dates_;
  std::size_t undated_ = 0;
  bool shallow_ = false;

  friend class GitDatesReader;
};

}  // namespace mapgen
