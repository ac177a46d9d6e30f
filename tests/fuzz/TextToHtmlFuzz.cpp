// Checks the linear escaping against the five passes done the plain way:
// search, handle, search again one character further on.
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

std::string PlainTextToHtml(std::string s) {
  s = Pass(s, '<', "&&lt;");
  s = Pass(s, '>', "&&gt;");
  s = Pass(s, '"', "&&quot;");
  s = Pass(s, '&', "&amp;");
  for (std::size_t k; (k = s.find('\r')) != std::string::npos;) {
    s.replace(k, 2, "<br>");
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (mapgen::TextToHtml(text) != PlainTextToHtml(text)) __builtin_trap();
  return 0;
}
