#include "Utf8.h"

#include <utf8proc.h>

namespace mapgen {
namespace {

bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
  return byte >= low && byte <= high;
}

// How many bytes from `pos` on begin a well-formed sequence without
// completing one: at least 1. The second byte's range depends on the lead,
// which is what keeps overlong forms, surrogates and values past U+10FFFF
// out.
std::size_t MaximalSubpart(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length;
  unsigned char low = 0x80, high = 0xBF;
  if (InRange(lead, 0xC2, 0xDF)) {
    length = 2;
  } else if (InRange(lead, 0xE0, 0xEF)) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (InRange(lead, 0xF0, 0xF4)) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 1;
  }
  std::size_t taken = 1;
  while (taken < length && pos + taken < text.size()) {
    const auto byte = static_cast<unsigned char>(text[pos + taken]);
    const bool continues = taken == 1 ? InRange(byte, low, high)
                                      : IsUtf8Continuation(text[pos + taken]);
    if (!continues) break;
    ++taken;
  }
  return taken;
}

// The length of the valid text at the start of `text`.
std::size_t ValidPrefix(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    const std::size_t length = DecodeUtf8(text, pos).length;
    if (length == 0) break;
    pos += length;
  }
  return pos;
}

}  // namespace

DecodedChar DecodeUtf8(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return {lead, 1};
  utf8proc_int32_t codePoint = 0;
  const utf8proc_ssize_t length = utf8proc_iterate(
      reinterpret_cast<const utf8proc_uint8_t*>(text.data() + pos),
      static_cast<utf8proc_ssize_t>(text.size() - pos), &codePoint);
  if (length <= 0) return {0, 0};
  return {static_cast<char32_t>(codePoint), static_cast<std::size_t>(length)};
}

void AppendUtf8(std::string& out, char32_t c) {
  utf8proc_uint8_t encoded[4];
  const utf8proc_ssize_t length =
      utf8proc_encode_char(static_cast<utf8proc_int32_t>(c), encoded);
  out.append(reinterpret_cast<const char*>(encoded),
             static_cast<std::size_t>(length));
}

bool IsValidUtf8(std::string_view text) {
  return ValidPrefix(text) == text.size();
}

void AppendReplacingInvalidUtf8(std::string& out, std::string_view text) {
  while (!text.empty()) {
    const std::size_t valid = ValidPrefix(text);
    out.append(text.substr(0, valid));
    text.remove_prefix(valid);
    if (text.empty()) return;
    out += kReplacementCharacter;
    text.remove_prefix(MaximalSubpart(text, 0));
  }
}

}  // namespace mapgen
