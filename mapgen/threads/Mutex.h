#pragma once

#include <condition_variable>
#include <mutex>

// Marks that let Clang's -Wthread-safety check, at compile time, that each
// field marked GUARDED_BY(m) is touched only with `m` held, and that a
// function marked REQUIRES(m) or EXCLUDES(m) is called with `m` held or
// not. Other compilers read them as nothing.
#if defined(__clang__)
#define TESSARY_THREAD_ATTRIBUTE(x) __attribute__((x))
#else
#define TESSARY_THREAD_ATTRIBUTE(x)
#endif
#define CAPABILITY(x) TESSARY_THREAD_ATTRIBUTE(capability(x))
#define SCOPED_CAPABILITY TESSARY_THREAD_ATTRIBUTE(scoped_lockable)
#define GUARDED_BY(x) TESSARY_THREAD_ATTRIBUTE(guarded_by(x))
#define REQUIRES(...) TESSARY_THREAD_ATTRIBUTE(requires_capability(__VA_ARGS__))
#define EXCLUDES(...) TESSARY_THREAD_ATTRIBUTE(locks_excluded(__VA_ARGS__))
#define ACQUIRE(...) TESSARY_THREAD_ATTRIBUTE(acquire_capability(__VA_ARGS__))
#define RELEASE(...) TESSARY_THREAD_ATTRIBUTE(release_capability(__VA_ARGS__))

namespace mapgen {

// A std::mutex that Clang's analysis knows as one.
class CAPABILITY("mutex") Mutex {
 public:
  void lock() ACQUIRE() { mutex_.lock(); }
  void unlock() RELEASE() { mutex_.unlock(); }

 private:
  std::mutex mutex_;
};

// Holds a Mutex from its making to its end, but for the stretches between
// Unlock and Lock, where its holder works without it.
class SCOPED_CAPABILITY MutexLock {
 public:
  explicit MutexLock(Mutex& mutex) ACQUIRE(mutex) : mutex_(mutex) {
    mutex_.lock();
  }
  ~MutexLock() RELEASE() {
    if (held_) mutex_.unlock();
  }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

  void Unlock() RELEASE() {
    mutex_.unlock();
    held_ = false;
  }
  void Lock() ACQUIRE() {
    mutex_.lock();
    held_ = true;
  }

  // For CondVar, which lets go of the mutex while it waits.
  void lock() ACQUIRE() { Lock(); }
  void unlock() RELEASE() { Unlock(); }

 private:
  Mutex& mutex_;
  bool held_ = true;
};

// Waits, its lock let go meanwhile, until another thread wakes it. A
// thread may wake without being woken, so waiting goes in a loop that
// tests what it waits for.
class CondVar {
 public:
  void Wait(MutexLock& lock) { condition_.wait(lock); }
  void NotifyOne() { condition_.notify_one(); }
  void NotifyAll() { condition_.notify_all(); }

 private:
  std::condition_variable_any condition_;
};

}  // namespace mapgen
