#pragma once

#include <cstddef>
#include <optional>
#include <string>
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

// The value of a hexadecimal digit; nothing for any other byte.
std::optional<int> HexDigitValue(char c);

constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text with its ASCII letters in lower case.
std::string AsciiLowerCase(std::string_view text);

// Whether `a` and `b` are equal, or `text` begins with `start`, ASCII
// letters compared without case.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view start);

// Where `needle` first occurs in `haystack` from `from` on, ASCII letters
// compared without case; npos when it does not.
std::size_t FindIgnoringAsciiCase(std::string_view haystack,
                                  std::string_view needle,
                                  std::size_t from = 0);

// The text without any of the bytes of `blanks` around it.
std::string_view Trim(std::string_view text, std::string_view blanks);

// The blanks HTML allows between attributes and around values: space,
// tab, line feed, form feed, carriage return.
inline constexpr std::string_view kHtmlSpace = " \t\n\f\r";
constexpr bool IsHtmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// The text without the blanks HTML allows around it.
inline std::string_view TrimHtmlSpace(std::string_view text) {
  return Trim(text, kHtmlSpace);
}

}  // namespace mapgen
