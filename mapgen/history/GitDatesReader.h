#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Outcome.h"
#include "StopCheck.h"

namespace mapgen {

class ChildProgram;
class GitDates;

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

// Runs git for GitDates, and fills them with what it tells. Every run
// takes the safeguards of GitCommand.
class GitDatesReader {
 public:
  GitDatesReader(const std::string& folder, const StopCheck& stop,
                 const std::string& git);

  // Where git keeps what it needs of the folder, whether the history is
  // shallow, and the last commit's tree. Before the first commit there is
  // no tree to name, which fails the run: it is asked again without.
  Outcome<GitPlace> Place(GitDates& dates);

  // Every committed file below the folder as the index has it, unless the
  // index is of a form only git reads, or holds links, which git compares
  // by what they name: then git compares the work tree instead. The tree
  // the index would commit, in hexadecimal, when it keeps it.
  std::optional<std::string> FromIndex(const GitPlace& place, GitDates& dates);

  // Whether git minds a file's execute bit (core.fileMode); as it does by
  // default where git cannot tell.
  bool FileMode();

  // Every committed file below the folder, the changed ones marked, as git
  // compares the work tree: the longest of its runs, while it lists them.
  Outcome<void> ByStatus(const std::string& prefix, GitDates& dates);

  // Marks the files staged differently from the last commit.
  Outcome<void> MarkStaged(const std::string& prefix, GitDates& dates);

  // Starts the run of the history, which Date reads.
  Outcome<std::unique_ptr<ChildProgram>> StartHistory();

  // Reads the history newest first: each commit, an empty field, its time
  // and the names it changed, the first after a line feed. A name takes
  // the time of the first commit that names it.
  Outcome<void> Date(ChildProgram& log, const std::string& prefix,
                     GitDates& dates);

 private:
  // Starts `git COMMAND...` in the folder.
  Outcome<std::unique_ptr<ChildProgram>> Start(
      const std::vector<std::string>& command);

  // Reads what the git `program` started for `command` writes, handing it
  // to `take` until the end, and waits for it to succeed.
  template <typename Take>
  Outcome<void> Finish(ChildProgram& program, std::string_view command,
                       Take take);

  template <typename Take>
  Outcome<void> Run(const std::vector<std::string>& command, Take take);

  // Every committed file below the folder, undated.
  Outcome<void> Committed(const std::string& prefix, GitDates& dates);

  // The run that finds the files whose work tree or index differs from
  // the last commit: they keep their own times.
  Outcome<std::unique_ptr<ChildProgram>> StartStatus();

  // Marks the files that `program`, git `command`, names changed: each
  // name from the top of the work tree after `skip` bytes ("XY " for a
  // status).
  Outcome<void> MarkChanged(ChildProgram& program, std::string_view command,
                            std::size_t skip, const std::string& prefix,
                            GitDates& dates);

  const std::string& folder_;
  const StopCheck& stop_;
  const std::string& git_;
};

}  // namespace mapgen
