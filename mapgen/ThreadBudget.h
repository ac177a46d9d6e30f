#pragma once

#include <atomic>

namespace mapgen {

// How many helper threads a step of a build may use. While the work keeps
// the cores busy, more threads than cores only take turns; once the work
// is found waiting for the disk, more reads in flight finish sooner, up to
// `most`. Any thread may use it.
class ThreadBudget {
 public:
  explicit ThreadBudget(unsigned most);

  unsigned Allowed() const { return waits_ ? most_ : busy_; }

  // Runs one piece of work, now and then timing it against the processor
  // time it took.
  template <typename Work>
  void Run(const Work& work) {
    if (waits_ || runs_++ % kSampleEvery != 0) {
      work();
      return;
    }
    const Clock start = Now();
    work();
    Judge(start);
  }

 private:
  struct Clock {
    long long wall, processor;  // nanoseconds
  };
  static constexpr unsigned kSampleEvery = 16;

  static Clock Now();
  void Judge(Clock start);

  const unsigned most_;
  const unsigned busy_;
  std::atomic<bool> waits_ = false;
  std::atomic<unsigned> runs_ = 0;
};

}  // namespace mapgen
