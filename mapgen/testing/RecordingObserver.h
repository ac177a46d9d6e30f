#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "BuildObserver.h"

namespace mapgen {

// Keeps what a build tells: each folder written ("/w 2/4") and each path
// that could not be read ("path: reason" and a line feed), and each
// warning ("warning: text"). Given a count, asks the build to stop from the
// check after that many on.
class RecordingObserver : public BuildObserver {
 public:
  explicit RecordingObserver(int stopAfterChecks = -1)
      : stopAfter_(stopAfterChecks) {}

  void FolderWritten(const std::string& folder, std::size_t done,
                     std::size_t total) override {
    written.push_back(folder + " " + std::to_string(done) + "/" +
                      std::to_string(total));
  }
  void Unreadable(const Failure& failure) override {
    warnings += failure.path + ": " + failure.reason + "\n";
  }
  void Warning(const std::string& text) override {
    warnings += "warning: " + text + "\n";
  }
  bool StopRequested() const override {
    return stopAfter_ >= 0 && checks_++ >= stopAfter_;
  }

  int Checks() const { return checks_; }

  std::vector<std::string> written;
  std::string warnings;

 private:
  const int stopAfter_;
  mutable std::atomic<int> checks_ = 0;
};

}  // namespace mapgen
