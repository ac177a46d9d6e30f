#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QPromise>
#include <QSet>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

class QThreadPool;

namespace tessary {

// Work that would hold up the window (a build, a copy to a slow disk, a
// picture, a query of the desktop) runs on a pool of the window's own, so
// that leaving the program never waits for Qt's global pool. Each piece of
// work reports through a watcher, whose signals arrive on the window's
// thread; the work itself never touches a widget.
//
// A pool that cannot start a thread (the process is at its thread limit)
// neither throws nor runs the work, nor ever lets its destructor return.
// Work that no thread has taken up within two seconds is therefore run on
// the window's thread instead: slowly, but it ends, and its watcher
// reports as usual.
class BackgroundWork : public QObject {
  Q_OBJECT
 public:
  explicit BackgroundWork(QObject* parent);
  // Work still running is left to end with the process: deleting the pool
  // would wait for it.
  ~BackgroundWork() override;

  // A watcher for one kind of work. Its end counts as handled once its
  // finished() signal has been delivered, to this object first.
  template <typename T>
  QFutureWatcher<T>* NewWatcher() {
    auto* watcher = new QFutureWatcher<T>(this);
    connect(watcher, &QFutureWatcherBase::finished, this,
            [this, watcher] { running_.remove(watcher); });
    return watcher;
  }

  // Starts `work(promise)`; `watcher` reports its progress and result and
  // cancels it.
  template <typename T, typename Work>
  void Start(QFutureWatcher<T>* watcher, Work work) {
    auto taken = std::make_shared<std::atomic_flag>();
    const QFuture<T> pooled =
        QtConcurrent::run(pool_, [taken, work](QPromise<T>& promise) {
          if (!taken->test_and_set()) work(promise);
        });
    running_.insert(watcher);
    watcher->setFuture(pooled);
    QTimer::singleShot(kStartLimit, watcher, [taken, work, pooled, watcher] {
      if (pooled.isFinished() || taken->test_and_set()) return;
      QPromise<T> promise;
      // Work cancelled while it waited for a thread is not done at all.
      if (watcher->isCanceled()) promise.future().cancel();
      watcher->setFuture(promise.future());
      promise.start();
      if (!promise.isCanceled()) work(promise);
      promise.finish();
    });
  }

  // The same for work that only returns its result.
  template <typename T, typename Work>
  void Compute(QFutureWatcher<T>* watcher, Work work) {
    Start(watcher, [work](QPromise<T>& promise) { promise.addResult(work()); });
  }

  // Whether every piece of work started here has ended and been handled.
  bool Idle() const { return running_.isEmpty(); }

  // Calls `then` once every piece of work has ended, or after `limit`,
  // whichever comes first; the event loop runs meanwhile.
  void WhenIdle(std::chrono::milliseconds limit, std::function<void()> then);

 private:
  static constexpr std::chrono::seconds kStartLimit{2};

  QThreadPool* pool_;
  QSet<QFutureWatcherBase*> running_;
};

}  // namespace tessary
