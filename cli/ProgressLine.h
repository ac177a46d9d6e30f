#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

namespace cli {

// One line on a terminal, redrawn in place, that shows how far a build has
// come. Redraws are spaced out so that a build of many small folders spends
// its time building, not drawing.
class ProgressLine {
 public:
  explicit ProgressLine(std::FILE* terminal) : terminal_(terminal) {}

  // Folder `done` of `total`, `folder`, has been written.
  void Show(const std::string& folder, std::size_t done, std::size_t total);

  // Removes the line, so that other text can take its place.
  void Clear();

 private:
  std::size_t Columns() const;

  std::FILE* terminal_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point nextDraw_;
};

}  // namespace cli
