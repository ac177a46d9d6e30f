#include "BuildRunner.h"

#include <chrono>
#include <cstdio>

#include "PosixFileSystem.h"

namespace tessary {

class BuildRunner::Observer : public mapgen::BuildObserver {
 public:
  Observer(BuildRunner& runner, unsigned build)
      : runner_(runner), build_(build) {}

  void FolderWritten(const std::string& folder, std::size_t done,
                     std::size_t total) override {
    const auto now = Clock::now();
    if (now < nextReport_) return;
    nextReport_ = now + kReportInterval;
    const QString shown = QString::fromStdString(folder);
    const double fraction = static_cast<double>(done) / total;
    QMetaObject::invokeMethod(
        &runner_, [shown, fraction, runner = &runner_, build = build_] {
          runner->report(build, shown, fraction);
        },
        Qt::QueuedConnection);
  }

  bool StopRequested() const override { return runner_.stopRequested_; }

 private:
  using Clock = std::chrono::steady_clock;
  static constexpr auto kReportInterval = std::chrono::milliseconds(33);

  BuildRunner& runner_;
  const unsigned build_;
  Clock::time_point nextReport_;
};

BuildRunner::BuildRunner(QObject* parent) : QObject(parent) {}

BuildRunner::~BuildRunner() { stop(); }

void BuildRunner::start(const mapgen::MapSettings& settings,
                        std::string pagePath) {
  running_ = true;
  stopRequested_ = false;
  const unsigned build = ++build_;
  thread_ = std::thread([this, settings, pagePath, build] {
    const mapgen::PosixFileSystem fs;
    Observer observer(*this, build);
    result_ = mapgen::BuildMapFile(settings, fs, observer, pagePath);
    if (result_.outcome == mapgen::BuildResult::Outcome::kBuilt) {
      unclaimedPage_ = pagePath;
    }
    QMetaObject::invokeMethod(
        this, [this, build] { finish(build); }, Qt::QueuedConnection);
  });
}

void BuildRunner::stop() {
  if (!running_) return;
  stopRequested_ = true;
  thread_.join();
  running_ = false;
  ++build_;
  // The build may have written its page just before it was abandoned;
  // nobody will hear of that page, so nobody would ever remove it.
  if (!unclaimedPage_.empty()) std::remove(unclaimedPage_.c_str());
  unclaimedPage_.clear();
}

void BuildRunner::report(unsigned build, const QString& folder,
                         double fraction) {
  if (build == build_) emit progress(folder, fraction);
}

void BuildRunner::finish(unsigned build) {
  if (build != build_) return;
  thread_.join();
  running_ = false;
  unclaimedPage_.clear();  // the window takes the page over
  emit finished(result_);
}

}  // namespace tessary
