#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
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
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  // Reads its standard output as it comes, handing each piece to `take`,
  // until the end or until `take` wants no more, which ends the program.
  Outcome<void> Read(const std::function<bool(std::string_view)>& take);

  // Waits for the program to end; fails unless it succeeded or was ended
  // here, with the first line it wrote to standard error (or how it
  // ended) as the reason.
  Outcome<void> Succeeded();

 private:
  explicit ChildProgram(std::string program) : program_(std::move(program)) {}
  void KeepErrors();
  int Wait();

  const std::string program_;
  pid_t pid_ = -1;  // none until started
  UniqueFd output_;
  UniqueFd errors_;
  std::string errorText_;
  bool stopped_ = false;
  bool waited_ = false;
};

}  // namespace mapgen
