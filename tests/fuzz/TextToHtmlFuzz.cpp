// Checks the linear escaping against the five passes done the plain way:
// search, handle, search again one character further on; a line break takes
// the character after it, as utf8proc reads it, with it.
#include <utf8proc.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "TextToHtml.h"

namespace {

std::string Pass(std::string s, char special, const std::string& escaped) {
  std::size_t from = 0;
  while (true) {
    const std::size_t k = s.find(special, from);
    if (k == std::string::npos) return s;
    if (k + 1 < s.size() && s[k + 1] == special) {
      s.erase(k + 1, 1);
    } else {
      s.replace(k, 1, escaped);
    }
    from = k + 1;
  }
}

// The bytes of the character at `pos`: a whole code point, or one byte that
// begins none.
std::size_t CharacterLength(const std::string& s, std::size_t pos) {
  if (pos >= s.size()) return 0;
  utf8proc_int32_t codePoint = 0;
  const auto length = utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(s.data() + pos),
                                       static_cast<utf8proc_ssize_t>(s.size() - pos), &codePoint);
  return length > 0 ? static_cast<std::size_t>(length) : 1;
}

std::string PlainTextToHtml(std::string s) {
  s = Pass(s, '<', "&&lt;");
  s = Pass(s, '>', "&&gt;");
  s = Pass(s, '"', "&&quot;");
  s = Pass(s, '&', "&amp;");
  for (std::size_t k; (k = s.find('\r')) != std::string::npos;) {
    s.replace(k, 1 + CharacterLength(s, k + 1), "<br>");
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (mapgen::TextToHtml(text) != PlainTextToHtml(text)) __builtin_trap();
  return 0;
}
