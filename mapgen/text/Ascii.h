#pragma once

#include <cstddef>
#include <string_view>

namespace mapgen {

// The ASCII rules the core shares. Tags, attribute names, charset labels
// and robots directives are ASCII and compared without letter case; the
// letter case of names and titles is Unicode's business (see TextCase).

constexpr bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }
bool IsAscii(std::string_view text);

constexpr bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiHexDigit(char c) {
  return IsAsciiDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Whether `a` and `b` are equal, or `text` begins with `start`, ASCII
// letters compared without case.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view start);

// Where `needle` first occurs in `haystack` from `from` on, ASCII letters
// compared without case; npos when it does not.
std::size_t FindIgnoringAsciiCase(std::string_view haystack,
                                  std::string_view needle,
                                  std::size_t from = 0);

// The blanks HTML allows between attributes and around values: space,
// tab, line feed, form feed, carriage return.
constexpr bool IsHtmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// The text without the blanks HTML allows around it.
std::string_view TrimHtmlSpace(std::string_view text);

// The text without the spaces around it, as a title is shown.
std::string_view TrimSpaces(std::string_view text);

}  // namespace mapgen
