#pragma once

#include <fcntl.h>
#include <sys/types.h>

#include <string>

#include "Outcome.h"
#include "UniqueFd.h"

namespace mapgen {

// Every descriptor of the core is opened here, and owned from the moment
// it exists. Opens `path` as openat(2) does with `flags` (and `mode` for a
// file it creates), relative to the folder `at` (AT_FDCWD: the current
// folder), also when the path is longer than the system takes in one call:
// a leading part is then opened first and the rest relative to it, links
// along the path followed as openat(2) follows them. A failure names
// `shownPath`, the path as the user knows it.
Outcome<UniqueFd> OpenAt(int at, const std::string& path, int flags,
                         const std::string& shownPath, mode_t mode = 0);

// The two ends of a new pipe, neither passed on to programs started later
// but as they are told; a failure names `shownPath`.
struct Pipe {
  UniqueFd read;
  UniqueFd write;
};
Outcome<Pipe> OpenPipe(const std::string& shownPath);

}  // namespace mapgen
