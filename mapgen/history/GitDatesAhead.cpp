#include "GitDatesAhead.h"

#include <cerrno>
#include <new>
#include <system_error>

namespace mapgen {

GitDatesAhead::GitDatesAhead(std::string folder, const StopCheck& stop)
    : folder_(std::move(folder)), stop_(stop) {
  try {
    thread_ = std::jthread([this] { Read(); });
  } catch (const std::system_error&) {
    // Read by Get instead.
  }
}

GitDatesAhead::~GitDatesAhead() = default;

// Keeps what `make` gives, or the failure of memory that ran out on the
// way, which fails the dates and not the program; and tells the threads
// that wait.
template <typename Value, typename Make>
void GitDatesAhead::Keep(std::optional<Value>& kept, Make make) {
  std::optional<Value> made;
  try {
    made.emplace(make());
  } catch (const std::bad_alloc&) {
    made.emplace(SystemFailure(folder_, ENOMEM));
  }
  {
    const std::scoped_lock lock(mutex_);
    kept = std::move(made);
  }
  told_.notify_all();
}

void GitDatesAhead::Read() {
  Keep(dates_, [this] { return GitDates::Start(folder_, stop_); });
  // What failed to start is told by Get alone.
  Keep(history_, [this] {
    return *dates_ ? (**dates_)->ReadHistory() : Outcome<void>();
  });
}

const Outcome<std::unique_ptr<GitDates>>& GitDatesAhead::Get() {
  if (!thread_.joinable()) {
    if (!dates_) Read();
    return *dates_;
  }
  std::unique_lock lock(mutex_);
  told_.wait(lock, [this] { return dates_.has_value(); });
  return *dates_;
}

Outcome<void> GitDatesAhead::HistoryRead() {
  if (!thread_.joinable()) {
    Get();
    return *history_;
  }
  std::unique_lock lock(mutex_);
  told_.wait(lock, [this] { return history_.has_value(); });
  return *history_;
}

}  // namespace mapgen
