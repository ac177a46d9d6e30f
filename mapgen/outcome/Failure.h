#pragma once

#include <string>

namespace mapgen {

// What went wrong with one path, in the system's own words.
struct Failure {
  std::string path;
  std::string reason;
  int error = 0;  // the system's error number; 0 when it gave none
};

// The failure of `path` with the system's error number `error`.
Failure SystemFailure(std::string path, int error);

// Whether the machine ran short of descriptors or memory. Unlike trouble
// with one entry, such a failure may hit any folder, so a page built past
// it could silently miss some: the build must fail instead.
bool IsShortage(const Failure& failure);

}  // namespace mapgen
