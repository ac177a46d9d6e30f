#pragma once

#include <exception>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace mapgen {

// The helper threads of one build step. Starts as many as asked for or as
// the system allows, whichever is fewer, so that a process at its thread
// limit still builds, only more slowly. Keeps the first exception that a
// piece of work ends in, for the calling thread to throw again.
class WorkerThreads {
 public:
  // `onError` runs where the work failed, after the error is kept, so that
  // the other threads can be told to stop.
  explicit WorkerThreads(std::function<void()> onError)
      : onError_(std::move(onError)) {}

  template <typename Work>
  void Start(unsigned count, const Work& work) {
    for (unsigned i = 0; i < count; ++i) {
      try {
        threads_.emplace_back([this, work] { Run(work); });
      } catch (const std::system_error&) {
        return;
      }
    }
  }

  // Runs `work` on the calling thread, its errors kept like a helper's.
  template <typename Work>
  void Run(const Work& work) {
    try {
      work();
    } catch (...) {
      {
        std::lock_guard lock(mutex_);
        if (!error_) error_ = std::current_exception();
      }
      onError_();
    }
  }

  std::size_t size() const { return threads_.size(); }

  // Waits for every helper to end.
  void Join() { threads_.clear(); }

  // Throws what a piece of work ended in, if one did.
  void RethrowFirstError() {
    std::lock_guard lock(mutex_);
    if (error_) std::rethrow_exception(error_);
  }

 private:
  std::function<void()> onError_;
  std::mutex mutex_;
  std::exception_ptr error_;
  std::vector<std::jthread> threads_;  // last, so joined before the rest goes
};

}  // namespace mapgen
