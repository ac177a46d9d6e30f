#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mapgen {

// U+FFFD, which stands for bytes that are no character, and U+FEFF, with
// which a UTF-8 file may begin, in UTF-8.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Whether the byte continues a character begun before it, never begins one.
inline bool IsUtf8Continuation(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The code point that starts at `text[pos]` and its length in bytes, or
// length 0 when the bytes there are not valid UTF-8 (overlong forms,
// surrogates and values past U+10FFFF included), as utf8proc decodes it.
struct DecodedChar {
  char32_t codePoint;
  std::size_t length;
};
DecodedChar DecodeUtf8(std::string_view text, std::size_t pos);

// Appends the code point `c`, which must be a character, in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// A page that declares UTF-8 must not pass on bytes that are not UTF-8: a
// browser would show them as U+FFFD anyway, and a link holding them would
// no longer reach its file.

// Whether every byte of `text` belongs to a well-formed UTF-8 sequence.
bool IsValidUtf8(std::string_view text);

// Appends the text with each maximal ill-formed subsequence replaced by one
// U+FFFD, the substitution that Unicode recommends and browsers make.
void AppendReplacingInvalidUtf8(std::string& out, std::string_view text);

}  // namespace mapgen
