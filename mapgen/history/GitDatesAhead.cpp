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

void GitDatesAhead::Read() {
  std::call_once(once_, [this] {
    // Memory that runs out on the thread fails the dates, not the program.
    try {
      dates_.emplace(GitDates::Load(folder_, stop_));
    } catch (const std::bad_alloc&) {
      dates_.emplace(SystemFailure(folder_, ENOMEM));
    }
  });
}

const Outcome<GitDates>& GitDatesAhead::Get() {
  Read();
  return *dates_;
}

}  // namespace mapgen
