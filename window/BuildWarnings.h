#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <vector>

#include "Failure.h"

namespace tessary {

// What a build passed over and told its observer of, for a line in the
// window after the build and the list behind it. Every entry is counted;
// only the first thousand are kept, so a tree of a million unreadable
// files does not fill the memory.
class BuildWarnings {
 public:
  enum class Kind {
    kUnreadable,    // a folder or page that could not be read
    kLeadsOutside,  // a link whose file lies outside the base folder
    kSitemap,       // what the XML sitemap leaves out or may lack; no path
  };

  void Add(Kind kind, const mapgen::Failure& failure);

  bool Empty() const { return total_ == 0; }

  // How many of each kind, in a sentence: "2 folders or pages could not
  // be read."
  QString Summary() const;

  // One line for each entry kept, and how many more there were.
  QString Details() const;

  static constexpr std::size_t kKept = 1000;

 private:
  struct Entry {
    Kind kind;
    mapgen::Failure failure;
  };
  static constexpr std::size_t kKinds = 3;

  std::array<std::size_t, kKinds> counts_{};
  std::size_t total_ = 0;
  std::vector<Entry> kept_;
};

}  // namespace tessary
