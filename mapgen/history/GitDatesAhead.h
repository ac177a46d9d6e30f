#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "GitDates.h"

namespace mapgen {

// The git dates of a folder, read on a thread of their own from the moment
// this is made, so that git runs while a build walks the tree, and the
// history still while the build reads the files; read by the first that
// asks when no thread can be started.
class GitDatesAhead {
 public:
  GitDatesAhead(std::string folder, const StopCheck& stop);
  ~GitDatesAhead();
  GitDatesAhead(const GitDatesAhead&) = delete;
  GitDatesAhead& operator=(const GitDatesAhead&) = delete;

  // The dates, once git has told which files are committed and unchanged;
  // their Find waits for the history where it has yet to date a file. Any
  // thread may ask.
  const Outcome<std::unique_ptr<GitDates>>& Get();

  // Waits for the history to be read; fails when it could not be.
  Outcome<void> HistoryRead();

 private:
  void Read();
  template <typename Value, typename Make>
  void Keep(std::optional<Value>& kept, Make make);

  const std::string folder_;
  const StopCheck& stop_;
  std::mutex mutex_;
  std::condition_variable told_;
  std::optional<Outcome<std::unique_ptr<GitDates>>> dates_;
  std::optional<Outcome<void>> history_;
  std::jthread thread_;  // last, so that it ends before the rest goes
};

}  // namespace mapgen
