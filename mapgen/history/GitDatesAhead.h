#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "GitDates.h"

namespace mapgen {

// The git dates of a folder, read on a thread of their own from the moment
// this is made, so that git runs while a build walks the tree; read by the
// first that asks when no thread can be started.
class GitDatesAhead {
 public:
  GitDatesAhead(std::string folder, const StopCheck& stop);
  ~GitDatesAhead();
  GitDatesAhead(const GitDatesAhead&) = delete;
  GitDatesAhead& operator=(const GitDatesAhead&) = delete;

  // The dates, once they are read; any thread may ask.
  const Outcome<GitDates>& Get();

 private:
  void Read();

  const std::string folder_;
  const StopCheck& stop_;
  std::once_flag once_;
  std::optional<Outcome<GitDates>> dates_;
  std::jthread thread_;  // last, so that it ends before the rest goes
};

}  // namespace mapgen
