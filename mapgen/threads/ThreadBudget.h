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

  unsigned Most() const { return most_; }
  unsigned Allowed() const { return waits_ ? most_ : busy_; }
  bool WorkWaits() const { return waits_; }

  // Runs one piece of work and gives back what it gives, now and then
  // watching whether it waits.
  template <typename Work>
  decltype(auto) Run(const Work& work) {
    if (waits_ || runs_++ % kSampleEvery != 0) return work();
    const Watch watch(*this);
    return work();
  }

 private:
  // Watches the calling thread from its making to its end.
  class Watch {
   public:
    explicit Watch(ThreadBudget& budget) : budget_(budget), start_(Waits()) {}
    ~Watch() {
      if (Waits() - start_ >= kWaitsOfDisk) budget_.waits_ = true;
    }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

   private:
    ThreadBudget& budget_;
    const long start_;
  };

  static constexpr unsigned kSampleEvery = 16;
  // A piece of work that gave up the processor this often waited for the
  // disk: being preempted is no giving up.
  static constexpr long kWaitsOfDisk = 2;

  // How often the calling thread has given up the processor.
  static long Waits();

  const unsigned most_;
  const unsigned busy_;
  std::atomic<bool> waits_ = false;
  std::atomic<unsigned> runs_ = 0;
};

}  // namespace mapgen
