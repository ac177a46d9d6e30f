#include "PageWords.h"

#include "Paths.h"

namespace mapgen {

int CountCharacters(std::string_view str, std::string_view ch) {
  if (str.empty()) return 0;
  int count = 0;
  std::size_t from = 1;
  for (std::size_t round = 0; round < str.size(); ++round) {
    const std::size_t found = str.find(ch, from);
    if (found == std::string_view::npos) break;
    ++count;
    from = found + 1;
  }
  return count;
}

int IndentLevel(std::string_view folder, std::string_view base) {
  const std::string_view below = RelativeFolder(folder, base);
  // The first character of `below` is a name's, never "/", so every
  // separator in it counts.
  return below.empty() ? 0 : 1 + CountCharacters(below, "/");
}

}  // namespace mapgen
