#include "ThreadBudget.h"

#include <time.h>

#include <algorithm>
#include <thread>

namespace mapgen {
namespace {

// Waiting counts once it takes the most part of a piece of work.
constexpr long long kWaitingShare = 2;
constexpr long long kLeastWait = 100'000;  // nanoseconds

long long Nanoseconds(clockid_t clock) {
  timespec now{};
  ::clock_gettime(clock, &now);
  return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

}  // namespace

ThreadBudget::ThreadBudget(unsigned most)
    : most_(most),
      busy_(std::clamp(std::thread::hardware_concurrency(), 1u, most)) {}

ThreadBudget::Clock ThreadBudget::Now() {
  return {Nanoseconds(CLOCK_MONOTONIC), Nanoseconds(CLOCK_THREAD_CPUTIME_ID)};
}

void ThreadBudget::Judge(Clock start) {
  const Clock end = Now();
  const long long processor = end.processor - start.processor;
  const long long wall = end.wall - start.wall;
  if (wall > kWaitingShare * processor + kLeastWait) waits_ = true;
}

}  // namespace mapgen
