#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <bitset>
#include <cerrno>
#include <optional>

namespace mapgen {

// Descriptors 0, 1 and 2, by number, that were closed when the program
// started.
using ClosedAtStart = std::bitset<3>;

// Opens each of descriptors 0, 1 and 2 that is closed on /dev/null, as a
// careful daemon does first: otherwise the next file the program opens
// takes the number, and what is meant for standard output or error (a
// page, a warning) lands in it. Nothing when /dev/null cannot be opened.
inline std::optional<ClosedAtStart> OpenClosedStandardDescriptors() {
  ClosedAtStart closed;
  for (int fd = 0; fd < 3; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free number is `fd`, as those below it are open.
    const int opened =
        ::open("/dev/null", (fd == 0 ? O_RDONLY : O_WRONLY) | O_NOCTTY);
    if (opened != fd) {
      if (opened >= 0) ::close(opened);
      return std::nullopt;
    }
    closed.set(static_cast<std::size_t>(fd));
  }
  return closed;
}

}  // namespace mapgen
