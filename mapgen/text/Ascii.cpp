#include "Ascii.h"

#include <algorithm>

namespace mapgen {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return IsAscii(c); });
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool StartsWithIgnoringAsciiCase(std::string_view text,
                                 std::string_view start) {
  return text.size() >= start.size() &&
         EqualsIgnoringAsciiCase(text.substr(0, start.size()), start);
}

std::size_t FindIgnoringAsciiCase(std::string_view haystack,
                                  std::string_view needle, std::size_t from) {
  if (needle.size() > haystack.size()) return std::string_view::npos;
  const std::size_t last = haystack.size() - needle.size();
  // Tags begin with "<", which has no case: jump from one to the next.
  const bool leadHasNoCase =
      !needle.empty() && AsciiUpper(needle[0]) == AsciiLower(needle[0]);
  for (std::size_t pos = from; pos <= last; ++pos) {
    if (leadHasNoCase) {
      pos = haystack.find(needle[0], pos);
      if (pos == std::string_view::npos || pos > last) break;
    }
    std::size_t i = 0;
    while (i < needle.size() &&
           AsciiUpper(haystack[pos + i]) == AsciiUpper(needle[i])) {
      ++i;
    }
    if (i == needle.size()) return pos;
  }
  return std::string_view::npos;
}

std::optional<int> HexDigitValue(char c) {
  if (IsAsciiDigit(c)) return c - '0';
  c = AsciiLower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return std::nullopt;
}

std::string AsciiLowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

std::string_view Trim(std::string_view text, std::string_view blanks) {
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace mapgen
