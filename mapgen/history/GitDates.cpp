#include "GitDates.h"

#include <charconv>
#include <utility>
#include <vector>

#include "ChildProgram.h"

namespace mapgen {
namespace {

constexpr std::time_t kUndated = -1;

// Splits output at NUL bytes as it comes, a name that one read cuts
// joined again.
class NulFields {
 public:
  template <typename Take>
  bool Feed(std::string_view bytes, Take take) {
    while (!bytes.empty()) {
      const std::size_t end = bytes.find('\0');
      if (end == std::string_view::npos) {
        partial_.append(bytes);
        return true;
      }
      bool more;
      if (partial_.empty()) {
        more = take(bytes.substr(0, end));
      } else {
        partial_.append(bytes.substr(0, end));
        more = take(std::string_view(partial_));
        partial_.clear();
      }
      if (!more) return false;
      bytes.remove_prefix(end + 1);
    }
    return true;
  }

 private:
  std::string partial_;
};

}  // namespace

// Runs git for GitDates, each run with the same safeguards: no file
// system monitor started, no lock taken on the repository.
class GitDatesReader {
 public:
  GitDatesReader(const std::string& folder, const std::string& git)
      : folder_(folder), git_(git) {}

  // Runs `git COMMAND...` in the folder, handing its output on.
  template <typename Take>
  Outcome<void> Run(std::vector<std::string> command, Take take) {
    std::vector<std::string> arguments = {git_, "-c", "core.fsmonitor=false",
                                          "--no-optional-locks"};
    arguments.insert(arguments.end(), command.begin(), command.end());
    auto program = ChildProgram::Start(arguments, folder_);
    if (!program) {
      return Failure{folder_,
                     "cannot run " + git_ + ": " + program.failure().reason};
    }
    auto ran = (*program)->Read(take);
    if (ran) ran = (*program)->Succeeded();
    if (!ran) {
      return Failure{folder_,
                     "git " + command.front() + ": " + ran.failure().reason};
    }
    return {};
  }

  // Where the folder lies in its work tree ("docs/" below the top), and
  // whether the history is shallow.
  Outcome<std::string> Place(GitDates& dates) {
    std::string text;
    const auto keep = [&](std::string_view bytes) {
      text += bytes;
      return true;
    };
    if (auto ran = Run({"rev-parse", "--is-inside-work-tree",
                        "--is-shallow-repository", "--show-prefix"},
                       keep);
        !ran) {
      return std::move(ran).failure();
    }
    if (!text.starts_with("true\n")) {
      return Failure{folder_, "not in a git work tree"};
    }
    dates.shallow_ = text.substr(5).starts_with("true\n");
    const std::size_t start = text.find('\n', 5) + 1;
    return text.substr(start, text.find('\n', start) - start);
  }

  // Every committed file below the folder, undated.
  Outcome<void> Committed(const std::string& prefix, GitDates& dates) {
    NulFields fields;
    return Run(
        {"ls-files", "-z", "--full-name", "--", "."},
        [&](std::string_view bytes) {
          return fields.Feed(bytes, [&](std::string_view name) {
            if (!name.starts_with(prefix)) return true;
            if (dates.dates_.emplace(name.substr(prefix.size()), kUndated)
                    .second) {
              ++dates.undated_;
            }
            return true;
          });
        });
  }

  // Drops the files whose work tree or index differs from the last commit:
  // they keep their own times.
  Outcome<void> DropChanged(const std::string& prefix, GitDates& dates) {
    NulFields fields;
    return Run(
        {"status", "-z", "--porcelain", "--untracked-files=no",
         "--ignore-submodules=all", "--no-renames", "--", "."},
        [&](std::string_view bytes) {
          return fields.Feed(bytes, [&](std::string_view entry) {
            // "XY name", the name from the top of the work tree.
            if (entry.size() < 4) return true;
            const std::string_view name = entry.substr(3);
            if (!name.starts_with(prefix)) return true;
            const auto found = dates.dates_.find(name.substr(prefix.size()));
            if (found != dates.dates_.end() && found->second == kUndated) {
              dates.dates_.erase(found);
              --dates.undated_;
            }
            return true;
          });
        });
  }

  // Reads the history newest first: each commit, an empty field, its time
  // and the names it changed, the first after a line feed. A name takes
  // the time of the first commit that names it.
  Outcome<void> Date(const std::string& prefix, GitDates& dates) {
    if (dates.undated_ == 0) return {};
    NulFields fields;
    bool timeNext = false;
    bool firstName = false;
    std::time_t time = kUndated;
    return Run(
        {"log", "-z", "--name-only", "--no-renames", "--no-relative",
         "--no-show-signature", "--format=%x00%ct", "--", "."},
        [&](std::string_view bytes) {
          return fields.Feed(bytes, [&](std::string_view field) {
            if (field.empty()) {
              timeNext = true;
              return true;
            }
            if (timeNext) {
              std::from_chars(field.data(), field.data() + field.size(), time);
              timeNext = false;
              firstName = true;
              return true;
            }
            if (std::exchange(firstName, false) && field.starts_with('\n')) {
              field.remove_prefix(1);
            }
            if (!field.starts_with(prefix)) return true;
            const auto found = dates.dates_.find(field.substr(prefix.size()));
            if (found != dates.dates_.end() && found->second == kUndated) {
              found->second = time;
              --dates.undated_;
            }
            return dates.undated_ > 0;
          });
        });
  }

 private:
  const std::string& folder_;
  const std::string& git_;
};

Outcome<GitDates> GitDates::Load(const std::string& folder,
                                 const std::string& git) {
  GitDatesReader reader(folder, git);
  GitDates dates;
  auto prefix = reader.Place(dates);
  if (!prefix) return std::move(prefix).failure();
  auto read = reader.Committed(*prefix, dates);
  if (read) read = reader.DropChanged(*prefix, dates);
  if (read) read = reader.Date(*prefix, dates);
  if (!read) return std::move(read).failure();
  return dates;
}

std::optional<std::time_t> GitDates::Find(std::string_view path) const {
  const auto found = dates_.find(path);
  if (found == dates_.end() || found->second == kUndated) return std::nullopt;
  return found->second;
}

}  // namespace mapgen
