#include "TextCase.h"

#include <utf8proc.h>

#include "Ascii.h"
#include "Utf8.h"

namespace mapgen {

// For the C library's own text rules (fnmatch's character classes).
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
  // The Unicode tables come with the program, so the result is the same
  // whichever locales the machine has installed.
  std::string upper;
  upper.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    const DecodedChar decoded =
        byte < 0x80 ? DecodedChar{0, 0} : DecodeUtf8(text, pos);
    if (decoded.length == 0) {
      upper += byte < 0x80 ? AsciiUpper(text[pos]) : text[pos];
      ++pos;
      continue;
    }
    AppendUtf8(upper, static_cast<char32_t>(utf8proc_toupper(
                          static_cast<utf8proc_int32_t>(decoded.codePoint))));
    pos += decoded.length;
  }
  return upper;
}

}  // namespace mapgen
