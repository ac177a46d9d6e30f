#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "BuildMap.h"
#include "BuildObserver.h"
#include "ProgressLine.h"

namespace cli {

// Tells the user on standard error how a build goes: a progress line when
// standard error is a terminal, and a warning for each folder or page that
// could not be read and for what the build tells of its outputs, and, on the
// terminal, a closing summary. Quiet, it says nothing.
class ConsoleObserver : public mapgen::BuildObserver {
 public:
  explicit ConsoleObserver(bool quiet);

  void FolderWritten(const std::string& folder, std::size_t done,
                     std::size_t total) override;
  void Unreadable(const mapgen::Failure& failure) override;
  void Warning(const std::string& text) override;

  // Removes the progress line once the build is over.
  void Finish();

  // Where the page went, what it lists and how long that took, where the
  // progress line was shown.
  void Summarize(const mapgen::BuildResult& result, const std::string& where);

 private:
  bool quiet_;
  std::chrono::steady_clock::time_point start_;
  std::optional<ProgressLine> progress_;
};

}  // namespace cli
