#pragma once

#include <string>
#include <string_view>

namespace mapgen {

// U+FFFD, which stands for bytes that are no character, and U+FEFF, with
// which a UTF-8 file may begin, in UTF-8.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// A page that declares UTF-8 must not pass on bytes that are not UTF-8: a
// browser would show them as U+FFFD anyway, and a link holding them would
// no longer reach its file.

// Whether every byte of `text` belongs to a well-formed UTF-8 sequence.
bool IsValidUtf8(std::string_view text);

// Appends the text with each maximal ill-formed subsequence replaced by one
// U+FFFD, the substitution that Unicode recommends and browsers make.
void AppendReplacingInvalidUtf8(std::string& out, std::string_view text);

}  // namespace mapgen
