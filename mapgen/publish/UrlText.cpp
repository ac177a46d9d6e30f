#include "UrlText.h"

namespace mapgen {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool BeginsPercentEncoded(std::string_view text) {
  return text.size() >= 3 && text[0] == '%' && HexDigitValue(text[1]) >= 0 &&
         HexDigitValue(text[2]) >= 0;
}

std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (BeginsPercentEncoded(text.substr(i))) {
      decoded += static_cast<char>(HexDigitValue(text[i + 1]) * 16 +
                                   HexDigitValue(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

}  // namespace mapgen
