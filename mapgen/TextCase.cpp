#include "TextCase.h"

#include <locale.h>
#include <wctype.h>

#include "Utf8.h"

namespace mapgen {
namespace {

char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

// The C.UTF-8 locale carries the Unicode simple case mapping.
locale_t Utf8Locale() {
  static const locale_t locale =
      newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

std::string UpperCase(std::string_view text) {
  std::string ascii(text);
  bool onlyAscii = true;
  for (char& c : ascii) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      onlyAscii = false;
      break;
    }
    c = AsciiUpper(c);
  }
  if (onlyAscii) return ascii;
  const locale_t locale = Utf8Locale();
  std::string upper;
  upper.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    const DecodedChar decoded =
        byte < 0x80 ? DecodedChar{0, 0} : DecodeUtf8(text, pos);
    if (decoded.length == 0 || locale == nullptr) {
      upper += byte < 0x80 ? AsciiUpper(text[pos]) : text[pos];
      ++pos;
      continue;
    }
    AppendUtf8(upper, static_cast<char32_t>(
                          towupper_l(static_cast<wint_t>(decoded.codePoint),
                                     locale)));
    pos += decoded.length;
  }
  return upper;
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

}  // namespace mapgen
