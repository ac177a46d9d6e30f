#include "GitDates.h"

#include <bit>
#include <charconv>
#include <functional>
#include <utility>
#include <vector>

#include "ChildProgram.h"

namespace mapgen {
namespace {

// A committed file's date before the history reaches it, and the date of
// one that has changed since its last commit, which keeps its own.
constexpr std::time_t kUndated = -1;
constexpr std::time_t kChanged = -2;

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
  GitDatesReader(const std::string& folder, const StopCheck& stop,
                 const std::string& git)
      : folder_(folder), stop_(stop), git_(git) {}

  // Starts `git COMMAND...` in the folder.
  Outcome<std::unique_ptr<ChildProgram>> Start(
      const std::vector<std::string>& command) {
    std::vector<std::string> arguments = {git_, "-c", "core.fsmonitor=false",
                                          "--no-optional-locks"};
    arguments.insert(arguments.end(), command.begin(), command.end());
    auto program = ChildProgram::Start(arguments, folder_);
    if (!program) {
      return Failure{folder_,
                     "cannot run " + git_ + ": " + program.failure().reason};
    }
    return program;
  }

  // Reads what the git `program` started for `command` writes, handing it
  // to `take` until the end, and waits for it to succeed.
  template <typename Take>
  Outcome<void> Finish(ChildProgram& program, std::string_view command,
                       Take take) {
    auto ran = program.Read([&](std::string_view bytes) {
      return !stop_.StopRequested() && take(bytes);
    });
    if (ran) ran = program.Succeeded();
    if (!ran) {
      return Failure{
          folder_, "git " + std::string(command) + ": " + ran.failure().reason};
    }
    if (stop_.StopRequested()) return Failure{folder_, "stopped"};
    return {};
  }

  template <typename Take>
  Outcome<void> Run(const std::vector<std::string>& command, Take take) {
    auto program = Start(command);
    if (!program) return std::move(program).failure();
    return Finish(**program, command.front(), take);
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
    auto listed = Run({"ls-files", "-z", "--full-name", "--", "."},
                      [&](std::string_view bytes) {
                        return fields.Feed(bytes, [&](std::string_view name) {
                          if (name.starts_with(prefix)) {
                            dates.AddName(name.substr(prefix.size()));
                          }
                          return true;
                        });
                      });
    if (listed) dates.Index();
    return listed;
  }

  // The run that finds the files whose work tree or index differs from
  // the last commit: they keep their own times.
  Outcome<std::unique_ptr<ChildProgram>> StartStatus() {
    return Start({"status", "-z", "--porcelain", "--untracked-files=no",
                  "--ignore-submodules=all", "--no-renames", "--", "."});
  }

  Outcome<void> MarkChanged(ChildProgram& status, const std::string& prefix,
                            GitDates& dates) {
    NulFields fields;
    return Finish(status, "status", [&](std::string_view bytes) {
      return fields.Feed(bytes, [&](std::string_view entry) {
        // "XY name", the name from the top of the work tree.
        if (entry.size() < 4) return true;
        const std::string_view name = entry.substr(3);
        if (!name.starts_with(prefix)) return true;
        if (GitDates::Entry* found = dates.Lookup(name.substr(prefix.size()))) {
          found->date = kChanged;
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
            GitDates::Entry* found = dates.Lookup(field.substr(prefix.size()));
            if (found != nullptr && found->date == kUndated) {
              found->date = time;
              --dates.undated_;
            }
            return dates.undated_ > 0;
          });
        });
  }

 private:
  const std::string& folder_;
  const StopCheck& stop_;
  const std::string& git_;
};

Outcome<GitDates> GitDates::Load(const std::string& folder,
                                 const StopCheck& stop,
                                 const std::string& git) {
  GitDatesReader reader(folder, stop, git);
  GitDates dates;
  auto prefix = reader.Place(dates);
  if (!prefix) return std::move(prefix).failure();
  // The changed files take git the longest to find: it compares every
  // committed file with the work tree, while the others run.
  auto status = reader.StartStatus();
  if (!status) return std::move(status).failure();
  auto read = reader.Committed(*prefix, dates);
  if (read) read = reader.Date(*prefix, dates);
  if (read) read = reader.MarkChanged(**status, *prefix, dates);
  if (!read) return std::move(read).failure();
  return dates;
}

void GitDates::AddName(std::string_view name) {
  entries_.push_back({static_cast<std::uint32_t>(names_.size()),
                      static_cast<std::uint32_t>(name.size()), kUndated});
  names_ += name;
}

// Fills the table, twice as large as the names need, so that a search
// seldom goes past a few slots.
void GitDates::Index() {
  slots_.assign(std::bit_ceil(entries_.size() * 2 + 1), 0);
  const std::size_t mask = slots_.size() - 1;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    // A name listed twice (a file in conflict) is one file.
    if (Lookup(NameOf(entries_[i])) != nullptr) continue;
    entries_[kept] = entries_[i];
    std::size_t slot = std::hash<std::string_view>()(NameOf(entries_[kept]));
    while (slots_[slot & mask] != 0) ++slot;
    slots_[slot & mask] = static_cast<std::uint32_t>(++kept);
  }
  entries_.resize(kept);
  undated_ = kept;
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

std::optional<std::time_t> GitDates::Find(std::string_view path) const {
  const std::uint32_t index = SlotOf(path);
  if (index == 0 || entries_[index - 1].date < 0) return std::nullopt;
  return entries_[index - 1].date;
}

}  // namespace mapgen
