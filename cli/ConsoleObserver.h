#pragma once

#include <optional>

#include "BuildObserver.h"
#include "ProgressLine.h"

namespace cli {

// Tells the user on standard error how a build goes: a progress line when
// standard error is a terminal, and a warning for each folder or page that
// could not be read. Quiet, it says nothing.
class ConsoleObserver : public mapgen::BuildObserver {
 public:
  explicit ConsoleObserver(bool quiet);

  void FolderWritten(const std::string& folder, std::size_t done,
                     std::size_t total) override;
  void Unreadable(const mapgen::Failure& failure) override;

  // Removes the progress line once the build is over.
  void Finish();

 private:
  bool quiet_;
  std::optional<ProgressLine> progress_;
};

}  // namespace cli
