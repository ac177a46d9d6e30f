#pragma once

#include <exception>
#include <system_error>
#include <thread>
#include <vector>

#include "Mutex.h"

namespace mapgen {

// The helper threads of one step of a build that works through many pieces
// (the walk's folders, the sections made ahead of the page), beside the
// thread that runs the step. Both steps keep the same rules:
//
// 1. A helper starts only while work waits that no thread is free to take,
//    up to what the ThreadBudget allows, so a build that keeps one core
//    busy never pays for more threads.
// 2. A helper starts with no lock held: starting one may be slow, or
//    refused when the process is at its limit, which then only makes the
//    step slower.
// 3. Work runs with the step's lock let go. Nothing virtual runs under the
//    lock (the file system, the observer, the templates are seams that
//    may take any time).
// 4. Every field the step's threads share is GUARDED_BY its mutex, or is
//    atomic; Clang checks the marks.
// 5. The first failure ends the step: it stops every thread and is what
//    the step returns. An exception (memory running out) is kept the same
//    way and thrown again on the step's own thread.
class HelperThreads {
 public:
  // Room for as many as `most` helpers.
  explicit HelperThreads(unsigned most) { threads_.reserve(most); }

  // Starts one helper running `work`, unless the system refuses a thread;
  // whether it started. The step counts its helpers itself and starts no
  // more than `most`.
  template <typename Work>
  bool Start(const Work& work) EXCLUDES(mutex_) {
    std::jthread thread;
    try {
      thread = std::jthread([this, work] { Run(work); });
    } catch (const std::system_error&) {
      return false;
    }
    const MutexLock lock(mutex_);
    threads_.push_back(std::move(thread));  // into the room made for it
    return true;
  }

  // Runs `work`, on a helper or on the step's own thread, keeping what it
  // throws; true unless it threw.
  template <typename Work>
  bool Run(const Work& work) noexcept EXCLUDES(mutex_) {
    try {
      work();
      return true;
    } catch (...) {
      const MutexLock lock(mutex_);
      if (!error_) error_ = std::current_exception();
      return false;
    }
  }

  // Waits for every helper to end. Only the step's own thread calls it,
  // once every helper has been told to end.
  void Join() EXCLUDES(mutex_) {
    while (true) {
      std::vector<std::jthread> joined;  // at the end of each round
      const MutexLock lock(mutex_);
      if (threads_.empty()) return;
      joined.swap(threads_);
    }
  }

  // Throws what a piece of work ended in, if one did.
  void RethrowFirstError() EXCLUDES(mutex_) {
    const MutexLock lock(mutex_);
    if (error_) std::rethrow_exception(error_);
  }

 private:
  Mutex mutex_;
  std::exception_ptr error_ GUARDED_BY(mutex_);
  std::vector<std::jthread> threads_ GUARDED_BY(mutex_);
};

}  // namespace mapgen
