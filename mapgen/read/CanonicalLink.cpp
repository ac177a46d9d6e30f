#include "CanonicalLink.h"

#include "Ascii.h"

namespace mapgen {

std::optional<std::string_view> CanonicalHref(const TagAttributes& link) {
  std::string_view words = AttributeValue(link, "rel");
  while (!(words = TrimHtmlSpace(words)).empty()) {
    std::size_t end = 0;
    while (end < words.size() && !IsHtmlSpace(words[end])) ++end;
    if (EqualsIgnoringAsciiCase(words.substr(0, end), "canonical")) {
      for (const TagAttribute& attribute : link) {
        if (EqualsIgnoringAsciiCase(attribute.name, "href")) {
          return attribute.value;
        }
      }
      return std::nullopt;
    }
    words.remove_prefix(end);
  }
  return std::nullopt;
}

}  // namespace mapgen
