#include "Utf8.h"

namespace mapgen {

DecodedChar DecodeUtf8(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length;
  char32_t codePoint;
  char32_t lowest;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, codePoint = lead & 0x1F, lowest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, codePoint = lead & 0x0F, lowest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, codePoint = lead & 0x07, lowest = 0x10000;
  } else {
    return {0, 0};
  }
  if (pos + length > text.size()) return {0, 0};
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[pos + i]);
    if (!IsUtf8Continuation(byte)) return {0, 0};
    codePoint = (codePoint << 6) | (byte & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint < lowest || codePoint > 0x10FFFF || surrogate) return {0, 0};
  return {codePoint, length};
}

}  // namespace mapgen
