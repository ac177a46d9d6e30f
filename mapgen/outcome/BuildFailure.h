#pragma once

#include <stdexcept>

#include "FileSystem.h"

namespace mapgen {

// Ends a build whose page could not be trusted to be whole: the machine ran
// short of descriptors or memory, or the base folder cannot be read.
// BuildMap turns it into a failed build.
class BuildFailure : public std::runtime_error {
 public:
  explicit BuildFailure(Failure failure)
      : std::runtime_error(failure.path + ": " + failure.reason),
        failure_(std::move(failure)) {}
  const Failure& failure() const { return failure_; }

 private:
  Failure failure_;
};

// Throws BuildFailure when `failure` is a shortage, which must not pass
// for trouble with one entry.
inline void ThrowIfShortage(const Failure& failure) {
  if (IsShortage(failure)) throw BuildFailure(failure);
}

}  // namespace mapgen
