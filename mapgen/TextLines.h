#pragma once

#include <algorithm>
#include <string_view>

namespace mapgen {

// Takes the first line off `text` and returns it. Lines end at LF, and a
// CR before the LF is dropped, so files saved with either ending read the
// same.
inline std::string_view TakeLine(std::string_view& text) {
  const std::size_t end = std::min(text.find('\n'), text.size());
  std::string_view line = text.substr(0, end);
  text.remove_prefix(std::min(end + 1, text.size()));
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

}  // namespace mapgen
