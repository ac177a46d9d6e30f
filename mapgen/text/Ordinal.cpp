#include "Ordinal.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "Ascii.h"
#include "Utf8.h"

namespace mapgen {
namespace {

// Reads UTF-16 code units off UTF-8 text, one at a time.
class CodeUnits {
 public:
  CodeUnits(std::string_view text, std::size_t pos) : text_(text), pos_(pos) {}

  bool AtEnd() const { return pending_ == 0 && pos_ == text_.size(); }

  char16_t Next() {
    if (pending_ != 0) return std::exchange(pending_, 0);
    const DecodedChar decoded = DecodeUtf8(text_, pos_);
    if (decoded.length == 0) {
      return static_cast<char16_t>(0xDC00 +
                                   static_cast<unsigned char>(text_[pos_++]));
    }
    pos_ += decoded.length;
    if (decoded.codePoint < 0x10000) {
      return static_cast<char16_t>(decoded.codePoint);
    }
    const char32_t offset = decoded.codePoint - 0x10000;
    pending_ = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
    return static_cast<char16_t>(0xD800 + (offset >> 10));
  }

 private:
  std::string_view text_;
  std::size_t pos_;
  char16_t pending_ = 0;
};

// Where the two texts first differ, or the shorter one's length. Paths of
// one tree share long beginnings, so eight bytes are compared at a time.
std::size_t FirstDifference(std::string_view a, std::string_view b) {
  const std::size_t shorter = std::min(a.size(), b.size());
  std::size_t pos = 0;
  for (; pos + 8 <= shorter; pos += 8) {
    std::uint64_t left, right;
    std::memcpy(&left, a.data() + pos, 8);
    std::memcpy(&right, b.data() + pos, 8);
    if (left != right) break;
  }
  while (pos < shorter && a[pos] == b[pos]) ++pos;
  return pos;
}

}  // namespace

bool OrdinalLess(std::string_view a, std::string_view b) {
  const std::size_t diff = FirstDifference(a, b);
  const bool prefix = diff == a.size() || diff == b.size();
  if (prefix && (diff == 0 || IsAscii(a[diff - 1]))) {
    return a.size() < b.size();
  }
  if (!prefix && IsAscii(a[diff]) && IsAscii(b[diff])) {
    return static_cast<unsigned char>(a[diff]) <
           static_cast<unsigned char>(b[diff]);
  }
  // After the last ASCII byte of the shared part the two texts may decode
  // differently: a sequence that the mismatch cuts short is valid on one
  // side only.
  std::size_t start = diff;
  while (start > 0 && !IsAscii(a[start - 1])) --start;
  CodeUnits left(a, start), right(b, start);
  while (!left.AtEnd() && !right.AtEnd()) {
    const char16_t l = left.Next(), r = right.Next();
    if (l != r) return l < r;
  }
  return left.AtEnd() && !right.AtEnd();
}

}  // namespace mapgen
