#include "BackgroundWork.h"

#include <QThreadPool>

namespace tessary {

BackgroundWork::BackgroundWork(QObject* parent)
    : QObject(parent), pool_(new QThreadPool) {
  // The work is mostly waiting for disks and other programs, so more of it
  // may run at once than there are cores.
  pool_->setMaxThreadCount(16);
}

BackgroundWork::~BackgroundWork() {
  if (pool_->waitForDone(0)) delete pool_;
}

void BackgroundWork::WhenIdle(std::chrono::milliseconds limit,
                              std::function<void()> then) {
  auto called = std::make_shared<bool>(false);
  auto once = [called, then = std::move(then)] {
    if (*called) return;
    *called = true;
    then();
  };
  if (Idle()) return once();
  for (QFutureWatcherBase* watcher : running_) {
    connect(watcher, &QFutureWatcherBase::finished, this, [this, once] {
      if (Idle()) once();
    });
  }
  QTimer::singleShot(limit, this, once);
}

}  // namespace tessary
