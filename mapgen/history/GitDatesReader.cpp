#include "GitDatesReader.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <mutex>
#include <utility>

#include "ChildProgram.h"
#include "GitCommand.h"
#include "GitDates.h"
#include "GitIndex.h"
#include "Paths.h"

namespace mapgen {
namespace {

constexpr std::uint32_t kLinkMode = 0120000;
constexpr std::uint32_t kSubmoduleMode = 0160000;

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

GitDatesReader::GitDatesReader(const std::string& folder, const StopCheck& stop,
                               const std::string& git)
    : folder_(folder), stop_(stop), git_(git) {}

Outcome<std::unique_ptr<ChildProgram>> GitDatesReader::Start(
    const std::vector<std::string>& command) {
  auto program = ChildProgram::Start(GitCommand(git_, command), folder_);
  if (!program) {
    return Failure{folder_,
                   "cannot run " + git_ + ": " + program.failure().reason};
  }
  return program;
}

template <typename Take>
Outcome<void> GitDatesReader::Finish(ChildProgram& program,
                                     std::string_view command, Take take) {
  auto ran = program.Read([&](std::string_view bytes) {
    return !stop_.StopRequested() && take(bytes);
  });
  if (ran) ran = program.Succeeded();
  if (!ran) {
    return Failure{folder_,
                   "git " + std::string(command) + ": " + ran.failure().reason};
  }
  if (stop_.StopRequested()) return Failure{folder_, "stopped"};
  return {};
}

template <typename Take>
Outcome<void> GitDatesReader::Run(const std::vector<std::string>& command,
                                  Take take) {
  auto program = Start(command);
  if (!program) return std::move(program).failure();
  return Finish(**program, command.front(), take);
}

Outcome<GitPlace> GitDatesReader::Place(GitDates& dates) {
  std::vector<std::string> command = {
      "rev-parse",     "--is-inside-work-tree", "--is-shallow-repository",
      "--show-prefix", "--show-cdup",           "--git-path",
      "index",         "--show-object-format",  "HEAD^{tree}"};
  std::string text;
  const auto keep = [&](std::string_view bytes) {
    text += bytes;
    return true;
  };
  if (!Run(command, keep)) {
    command.pop_back();
    text.clear();
    if (auto ran = Run(command, keep); !ran) return std::move(ran).failure();
  }
  std::vector<std::string_view> lines;
  for (std::string_view rest = text; !rest.empty();) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    lines.push_back(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  if (lines.empty() || lines[0] != "true") {
    return Failure{folder_, "not in a git work tree"};
  }
  dates.shallow_ = lines.size() > 1 && lines[1] == "true";
  GitPlace place;
  if (lines.size() > 2) place.prefix = lines[2];
  if (lines.size() > 5) {
    place.top = JoinPath(folder_, std::string(lines[3]));
    place.index = lines[4].starts_with('/')
                      ? std::string(lines[4])
                      : JoinPath(folder_, std::string(lines[4]));
    place.idSize = lines[5] == "sha1" ? 20 : lines[5] == "sha256" ? 32 : 0;
  }
  if (lines.size() > 6) place.headTree = lines[6];
  return place;
}

std::optional<std::string> GitDatesReader::FromIndex(const GitPlace& place,
                                                     GitDates& dates) {
  if (place.idSize == 0) return std::nullopt;
  bool linked = false;
  const auto expect = [&](std::size_t entries, std::size_t bytes) {
    dates.entries_.reserve(entries);
    dates.names_.reserve(bytes);
    dates.ids_.reserve(entries * place.idSize);
  };
  auto read = ReadGitIndex(
      place.index, place.idSize, expect, [&](const IndexEntry& entry) {
        if (!entry.name.starts_with(place.prefix)) return;
        if (entry.mode == kLinkMode) linked = true;
        if (entry.mode == kSubmoduleMode || linked) return;
        dates.AddName(entry.name.substr(place.prefix.size()));
        GitDates::Entry& added = dates.entries_.back();
        added.changed = entry.unsettled;
        added.stamp = entry.stamp;
        added.size = entry.size;
        added.mode = entry.mode;
        added.taken = entry.taken;
        added.id = static_cast<std::uint32_t>(dates.ids_.size());
        dates.ids_ += entry.id;
      });
  if (!read || linked) {
    dates.names_.clear();
    dates.entries_.clear();
    dates.ids_.clear();
    return std::nullopt;
  }
  dates.byIndex_ = true;
  dates.idSize_ = place.idSize;
  dates.indexSeconds_ = read->seconds;
  dates.Index();
  return HexadecimalId(read->tree);
}

bool GitDatesReader::FileMode() {
  std::string text;
  const auto ran =
      Run({"config", "--type=bool", "--default=true", "core.fileMode"},
          [&](std::string_view bytes) {
            text += bytes;
            return true;
          });
  return !ran || !text.starts_with("false");
}

Outcome<void> GitDatesReader::ByStatus(const std::string& prefix,
                                       GitDates& dates) {
  auto status = StartStatus();
  if (!status) return std::move(status).failure();
  auto read = Committed(prefix, dates);
  if (read) read = MarkChanged(**status, "status", 3, prefix, dates);
  return read;
}

Outcome<void> GitDatesReader::MarkStaged(const std::string& prefix,
                                         GitDates& dates) {
  auto staged =
      Start({"diff-index", "--cached", "-z", "--name-only", "--no-renames",
             "--ignore-submodules=all", "HEAD", "--", "."});
  if (!staged) return std::move(staged).failure();
  return MarkChanged(**staged, "diff-index", 0, prefix, dates);
}

Outcome<void> GitDatesReader::Committed(const std::string& prefix,
                                        GitDates& dates) {
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

Outcome<std::unique_ptr<ChildProgram>> GitDatesReader::StartStatus() {
  return Start({"status", "-z", "--porcelain", "--untracked-files=no",
                "--ignore-submodules=all", "--no-renames", "--", "."});
}

Outcome<void> GitDatesReader::MarkChanged(ChildProgram& program,
                                          std::string_view command,
                                          std::size_t skip,
                                          const std::string& prefix,
                                          GitDates& dates) {
  NulFields fields;
  return Finish(program, command, [&](std::string_view bytes) {
    return fields.Feed(bytes, [&](std::string_view entry) {
      if (entry.size() <= skip) return true;
      const std::string_view name = entry.substr(skip);
      if (!name.starts_with(prefix)) return true;
      GitDates::Entry* found = dates.Lookup(name.substr(prefix.size()));
      if (found != nullptr && !std::exchange(found->changed, true)) {
        --dates.undated_;
      }
      return true;
    });
  });
}

Outcome<std::unique_ptr<ChildProgram>> GitDatesReader::StartHistory() {
  return Start({"log", "-z", "--name-only", "--no-renames", "--no-relative",
                "--no-show-signature", "--format=%x00%ct", "--", "."});
}

Outcome<void> GitDatesReader::Date(ChildProgram& log, const std::string& prefix,
                                   GitDates& dates) {
  if (dates.undated_ == 0) return {};
  NulFields fields;
  bool timeNext = false;
  bool firstName = false;
  std::time_t time = GitDates::kUndated;
  const auto take = [&](std::string_view field) {
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
    if (found != nullptr && !found->changed &&
        found->date == GitDates::kUndated) {
      std::atomic_ref(found->date).store(time, std::memory_order_release);
      --dates.undated_;
    }
    return dates.undated_ > 0;
  };
  // Threads that wait for dates are told of each piece read. The lock,
  // taken once they wait, keeps them from missing the news.
  return Finish(log, "log", [&](std::string_view bytes) {
    const bool more = fields.Feed(bytes, take);
    { const std::scoped_lock lock(dates.historyMutex_); }
    dates.historyMoved_.notify_all();
    return more;
  });
}

}  // namespace mapgen
