#pragma once

#include <string>
#include <string_view>

namespace mapgen {

// Free text (preface, appendix) as HTML: "<", ">", the quotation mark and
// "&" are escaped, and each carriage return becomes "<br>" together with
// the character after it. A special character typed twice in a row is
// written once, raw: that is how a user embeds markup. Linear in the text.
std::string TextToHtml(std::string_view text);

}  // namespace mapgen
