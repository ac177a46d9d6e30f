#pragma once

#include <string>
#include <string_view>

namespace mapgen {

// Writes the page to `path` so that nobody ever sees half of it: the bytes
// go to a new file beside it, which then replaces the old one, or the old
// file stays exactly as it was. A link to a file replaces the file it
// leads to; a path that names a device or a pipe is written directly. False with `reason` set when the page could not be
// written.
bool WriteMapFile(const std::string& path, std::string_view text,
                  std::string& reason);

// Writes all of `text` to an open descriptor, such as standard output.
bool WriteAll(int fd, std::string_view text, std::string& reason);

// Reads the whole file at `path` into `text`, bytes unchanged; false with
// `reason` set when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& text,
                   std::string& reason);

}  // namespace mapgen
