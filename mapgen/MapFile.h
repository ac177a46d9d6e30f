#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace mapgen {

// Writes the page to `path`, and only there:
// - /dev/stdout, /dev/stderr and /dev/fd/N: to that descriptor of the
//   process, as it was opened (a shell's ">>" appends);
// - a path that leads, through links, to something other than a file (a
//   pipe, a terminal, a device): written to as a stream; a pipe that nobody
//   reads is an error at once;
// - any other path is replaced so that nobody ever sees half a page: the
//   bytes go to a new hidden file beside it, which then takes its place, or
//   the old file stays exactly as it was. A link standing at `path` is
//   replaced, never written through. A page the user may not write is left
//   alone, as a shell would leave it. The new page keeps the old one's
//   permissions, and its owner and group where the process may set them.
// False with `reason` set when the page could not be written.
bool WriteMapFile(const std::string& path, std::string_view text,
                  std::string& reason);

// Writes all of `text` to an open descriptor, such as standard output.
bool WriteAll(int fd, std::string_view text, std::string& reason);

// Reads the file at `path` into `text`, bytes unchanged, but no more than
// `limit` bytes of it; false with `reason` set when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& text,
                   std::string& reason,
                   std::size_t limit = std::numeric_limits<std::size_t>::max());

}  // namespace mapgen
