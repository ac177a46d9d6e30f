#pragma once

#include <cstddef>
#include <string>

#include "Failure.h"
#include "StopCheck.h"

namespace mapgen {

// What a build tells the one who started it, and how it learns to stop.
// FolderWritten, Unreadable and Warning are called on the thread that runs the
// build; StopRequested may be called from any of the build's threads.
class BuildObserver : public StopCheck {
 public:
  // The folder at position `done` of `total` has been written to the page.
  virtual void FolderWritten(const std::string& /*folder*/,
                             std::size_t /*done*/, std::size_t /*total*/) {}

  // A folder or page that could not be read; the build goes on without it.
  virtual void Unreadable(const Failure& /*failure*/) {}

  // Something the user should know of what was written, in words ("3
  // URLs left out ..."), told once at the end of the build.
  virtual void Warning(const std::string& /*text*/) {}
};

}  // namespace mapgen
