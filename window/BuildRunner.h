#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "BuildMap.h"
#include "MapSettings.h"

namespace tessary {

// Runs one build at a time on a thread of its own, so that the window
// stays responsive. What the build reports reaches the window as queued
// signals on the window's thread; the progress at most about 30 times a
// second, however many folders go by.
class BuildRunner : public QObject {
  Q_OBJECT
 public:
  explicit BuildRunner(QObject* parent = nullptr);
  ~BuildRunner() override;

  bool running() const { return running_; }

  // Builds from this copy of the settings, which later edits do not
  // reach, writing the page to `pagePath` as it goes, all on the worker.
  void start(const mapgen::MapSettings& settings, std::string pagePath);

  // Abandons the running build and waits until its thread has ended.
  // Nothing more is reported of it.
  void stop();

 signals:
  void progress(const QString& folder, double fraction);
  // The build's outcome; a page that could not be written fails it, with
  // the page's path and the system's reason.
  void finished(const mapgen::BuildResult& result);

 private:
  class Observer;

  void report(unsigned build, const QString& folder, double fraction);
  void finish(unsigned build);

  bool running_ = false;
  unsigned build_ = 0;  // counts builds, so a stopped one's reports drop
  std::atomic<bool> stopRequested_ = false;
  mapgen::BuildResult result_;
  std::string unclaimedPage_;  // written, but not yet handed to the window
  std::thread thread_;
};

}  // namespace tessary
