#pragma once

#include <cstddef>
#include <string_view>

namespace mapgen {

// Whether the byte continues a character begun before it, never begins one.
inline bool IsUtf8Continuation(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The code point that starts at `text[pos]` and its length in bytes, or
// length 0 when the bytes there are not valid UTF-8 (overlong forms,
// surrogates and values past U+10FFFF included).
struct DecodedChar {
  char32_t codePoint;
  std::size_t length;
};
DecodedChar DecodeUtf8(std::string_view text, std::size_t pos);

}  // namespace mapgen
