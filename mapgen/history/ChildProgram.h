#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Failure.h"

namespace mapgen {

// Another program run for what it writes: its standard output read as a
// stream, what it says on standard error kept for a message.
class ChildProgram {
 public:
  // Starts `arguments` (the program first, found on PATH) in `folder`,
  // with nothing on its standard input; null, with `failure` set, when it
  // cannot be started.
  static std::unique_ptr<ChildProgram> Start(
      const std::vector<std::string>& arguments, const std::string& folder,
      Failure& failure);
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  // Reads its standard output as it comes, handing each piece to `take`,
  // until the end or until `take` wants no more, which ends the program.
  // False, with `failure` set, when the output cannot be read.
  bool Read(const std::function<bool(std::string_view)>& take,
            Failure& failure);

  // Waits for the program to end; whether it succeeded, and otherwise the
  // first line it wrote to standard error in `reason` (or how it ended).
  bool Succeeded(std::string& reason);

 private:
  ChildProgram(pid_t pid, int output, int errors)
      : pid_(pid), output_(output), errors_(errors) {}
  void KeepErrors();
  void CloseOutput();

  pid_t pid_;
  int output_;
  int errors_;
  std::string errorText_;
  bool stopped_ = false;
  bool waited_ = false;
};

}  // namespace mapgen
