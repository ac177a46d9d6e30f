#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace mapgen {

// Free texts (preface, appendix) break their lines with CR LF, as the page
// writes them; the files a user reads them from and the window's text boxes
// may break them with LF alone.

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

// The text with every line break, LF or CR LF, made CR LF.
std::string WithCrLfBreaks(std::string_view text);

// The text with every CR LF made LF.
std::string WithLfBreaks(std::string_view text);

}  // namespace mapgen
