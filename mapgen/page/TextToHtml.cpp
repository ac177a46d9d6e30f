#include "TextToHtml.h"

#include <algorithm>

#include "Utf8.h"

namespace mapgen {
namespace {

// One pass over the text: a doubled `special` collapses into one raw
// character, a single one becomes `escaped`. The scan goes on right after
// the kept or replaced character, so three in a row give one raw character
// and one escaped.
std::string EscapePass(std::string_view text, char special,
                       std::string_view escaped) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != special) {
      out += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == special) {
      out += special;
      ++i;
    } else {
      out += escaped;
    }
  }
  return out;
}

std::string LineBreaksToHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '\r') {
      out += text[i++];
      continue;
    }
    out += "<br>";
    ++i;
    // The line feed of the pair goes with it, or whatever character stands
    // there: all of it, so that no piece of a character is left behind.
    if (i < text.size()) {
      i += std::max<std::size_t>(DecodeUtf8(text, i).length, 1);
    }
  }
  return out;
}

}  // namespace

std::string TextToHtml(std::string_view text) {
  // The first three replacements start with "&&", which the ampersand pass
  // collapses into one, so their ampersand is not escaped twice.
  std::string s = EscapePass(text, '<', "&&lt;");
  s = EscapePass(s, '>', "&&gt;");
  s = EscapePass(s, '"', "&&quot;");
  s = EscapePass(s, '&', "&amp;");
  return LineBreaksToHtml(s);
}

}  // namespace mapgen
