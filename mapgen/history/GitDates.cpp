#include "GitDates.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "ChildProgram.h"
#include "GitIndex.h"
#include "Paths.h"

namespace mapgen {
namespace {

// A committed file's date before the history reaches it.
constexpr std::time_t kUndated = -1;

constexpr std::uint32_t kLinkMode = 0120000;
constexpr std::uint32_t kSubmoduleMode = 0160000;
constexpr std::uint32_t kExecuteBit = 0100;

// Every run of git takes the same safeguards: no file system monitor
// started, no lock taken on the repository.
std::vector<std::string> GitCommand(const std::string& git,
                                    const std::vector<std::string>& command) {
  std::vector<std::string> arguments = {git, "-c", "core.fsmonitor=false",
                                        "--no-optional-locks"};
  arguments.insert(arguments.end(), command.begin(), command.end());
  return arguments;
}

// A path as git reads it from a line: quoted as C quotes strings when it
// holds what a line cannot, or starts with a quote.
std::string LinePath(std::string_view path) {
  const bool plain =
      !path.starts_with('"') && std::ranges::none_of(path, [](char c) {
        return c == '\n' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
      });
  if (plain) return std::string(path);
  std::string quoted = "\"";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      quoted += '\\';
      quoted += static_cast<char>('0' + (byte >> 6));
      quoted += static_cast<char>('0' + ((byte >> 3) & 7));
      quoted += static_cast<char>('0' + (byte & 7));
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

std::string Hexadecimal(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const char c : bytes) {
    hex += kDigits[static_cast<unsigned char>(c) >> 4];
    hex += kDigits[static_cast<unsigned char>(c) & 15];
  }
  return hex;
}

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

// Where git keeps what it needs of the folder: its place below the top of
// the work tree ("docs/"), its index, and the length of its object ids,
// 0 when this cannot read them.
struct GitPlace {
  std::string prefix;
  std::string top;
  std::string index;
  std::size_t idSize = 0;
  std::string headTree;  // in hexadecimal; none before the first commit
};

// Runs git for GitDates.
class GitDatesReader {
 public:
  GitDatesReader(const std::string& folder, const StopCheck& stop,
                 const std::string& git)
      : folder_(folder), stop_(stop), git_(git) {}

  // Starts `git COMMAND...` in the folder.
  Outcome<std::unique_ptr<ChildProgram>> Start(
      const std::vector<std::string>& command) {
    auto program = ChildProgram::Start(GitCommand(git_, command), folder_);
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

  // Where git keeps what it needs of the folder, whether the history is
  // shallow, and the last commit's tree. Before the first commit there is
  // no tree to name, which fails the run: it is asked again without.
  Outcome<GitPlace> Place(GitDates& dates) {
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

  // Every committed file below the folder as the index has it, unless the
  // index is of a form only git reads, or holds links, which git compares
  // by what they name: then git compares the work tree instead. The tree
  // the index would commit, in hexadecimal, when it keeps it.
  std::optional<std::string> FromIndex(const GitPlace& place, GitDates& dates) {
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
    return Hexadecimal(read->tree);
  }

  // Whether git minds a file's execute bit (core.fileMode); as it does by
  // default where git cannot tell.
  bool FileMode() {
    std::string text;
    const auto ran =
        Run({"config", "--type=bool", "--default=true", "core.fileMode"},
            [&](std::string_view bytes) {
              text += bytes;
              return true;
            });
    return !ran || !text.starts_with("false");
  }

  // Every committed file below the folder, the changed ones marked, as git
  // compares the work tree: the longest of its runs, while it lists them.
  Outcome<void> ByStatus(const std::string& prefix, GitDates& dates) {
    auto status = StartStatus();
    if (!status) return std::move(status).failure();
    auto read = Committed(prefix, dates);
    if (read) read = MarkChanged(**status, "status", 3, prefix, dates);
    return read;
  }

  // Marks the files staged differently from the last commit.
  Outcome<void> MarkStaged(const std::string& prefix, GitDates& dates) {
    auto staged =
        Start({"diff-index", "--cached", "-z", "--name-only", "--no-renames",
               "--ignore-submodules=all", "HEAD", "--", "."});
    if (!staged) return std::move(staged).failure();
    return MarkChanged(**staged, "diff-index", 0, prefix, dates);
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

  // Marks the files that `program`, git `command`, names changed: each
  // name from the top of the work tree after `skip` bytes ("XY " for a
  // status).
  Outcome<void> MarkChanged(ChildProgram& program, std::string_view command,
                            std::size_t skip, const std::string& prefix,
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

  Outcome<std::unique_ptr<ChildProgram>> StartHistory() {
    return Start({"log", "-z", "--name-only", "--no-renames", "--no-relative",
                  "--no-show-signature", "--format=%x00%ct", "--", "."});
  }

  // Reads the history newest first: each commit, an empty field, its time
  // and the names it changed, the first after a line feed. A name takes
  // the time of the first commit that names it.
  Outcome<void> Date(ChildProgram& log, const std::string& prefix,
                     GitDates& dates) {
    if (dates.undated_ == 0) return {};
    NulFields fields;
    bool timeNext = false;
    bool firstName = false;
    std::time_t time = kUndated;
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
      if (found != nullptr && !found->changed && found->date == kUndated) {
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

 private:
  const std::string& folder_;
  const StopCheck& stop_;
  const std::string& git_;
};

// Asks git for the object ids of files as it would stage them now, one
// run of `git hash-object` answering every file the threads ask of it. It
// runs at the top of the work tree, where every version of git takes the
// paths it reads from there.
class GitDates::ContentIds {
 public:
  ContentIds(std::string top, std::string prefix, std::string git)
      : top_(std::move(top)),
        prefix_(std::move(prefix)),
        git_(std::move(git)) {}

  // The id, in hexadecimal, of the file at `path` from the folder; none
  // when git cannot tell, as for a file gone since.
  std::optional<std::string> Of(std::string_view path) {
    const std::scoped_lock lock(mutex_);
    if (program_ == nullptr) {
      auto started = ChildProgram::StartTalking(
          GitCommand(git_, {"hash-object", "--stdin-paths"}), top_);
      if (!started) return std::nullopt;
      program_ = std::move(*started);
    }
    auto id = program_->Ask(LinePath(prefix_ + std::string(path)));
    if (!id) {
      // It ends at a file it cannot read; the next file starts it again.
      program_.reset();
      return std::nullopt;
    }
    return std::move(*id);
  }

 private:
  const std::string top_;
  const std::string prefix_;
  const std::string git_;
  std::mutex mutex_;
  std::unique_ptr<ChildProgram> program_;
};

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
        std::make_unique<ContentIds>(place->top, place->prefix, git);
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

Outcome<std::unique_ptr<GitDates>> GitDates::Load(const std::string& folder,
                                                  const StopCheck& stop,
                                                  const std::string& git) {
  auto dates = Start(folder, stop, git);
  if (!dates) return dates;
  if (auto read = (*dates)->ReadHistory(); !read) {
    return std::move(read).failure();
  }
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
// which seldom happens.
bool GitDates::MindsExecuteBit() const {
  std::call_once(fileModeAsked_, [this] {
    fileMode_ = GitDatesReader(folder_, stop_, git_).FileMode();
  });
  return fileMode_;
}

bool GitDates::SameContent(const Entry& entry, std::string_view path) const {
  const std::optional<std::string> now = contentIds_->Of(path);
  return now &&
         *now == Hexadecimal(std::string_view(ids_).substr(entry.id, idSize_));
}

}  // namespace mapgen
