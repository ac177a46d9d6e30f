#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Outcome.h"
#include "UniqueFd.h"

namespace mapgen {

// Another program run for what it writes: its standard output read as a
// stream, what it says on standard error kept for a message. A program
// still running when this goes is ended and waited for.
class ChildProgram {
 public:
  // Starts `arguments` (the program first, found on PATH) in `folder`,
  // with nothing on its standard input. Failures name the program.
  static Outcome<std::unique_ptr<ChildProgram>> Start(
      const std::vector<std::string>& arguments, const std::string& folder);
  // Starts `arguments` as Start does, for a program that answers each
  // line sent to its standard input with a line of its own.
  static Outcome<std::unique_ptr<ChildProgram>> StartTalking(
      const std::vector<std::string>& arguments, const std::string& folder);
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  // Reads its standard output as it comes, handing each piece to `take`,
  // until the end or until `take` wants no more, which ends the program.
  Outcome<void> Read(const std::function<bool(std::string_view)>& take);

  // Sends `line` and a line feed to a program started talking, and reads
  // its answer up to its line feed, which is left out. Fails when the
  // program has ended, with what it said on standard error.
  Outcome<std::string> Ask(std::string_view line);

  // Waits for the program to end; fails unless it succeeded or was ended
  // here, with the first line it wrote to standard error (or how it
  // ended) as the reason.
  Outcome<void> Succeeded();

 private:
  explicit ChildProgram(std::string program) : program_(std::move(program)) {}
  static Outcome<std::unique_ptr<ChildProgram>> Start(
      const std::vector<std::string>& arguments, const std::string& folder,
      bool talking);
  Outcome<std::size_t> ReadOutput(std::span<char> buffer);
  void KeepErrors();
  int Wait();

  const std::string program_;
  pid_t pid_ = -1;  // none until started
  UniqueFd input_;  // only for a program started talking
  UniqueFd output_;
  std::string answers_;  // read, but not yet asked for
  UniqueFd errors_;
  std::string errorText_;
  bool stopped_ = false;
  bool waited_ = false;
};

}  // namespace mapgen
