#include "RobotsNoindex.h"

#include "Ascii.h"
#include "MetaTags.h"

namespace mapgen {
namespace {

// Whether one of the comma-separated directives is noindex or none.
bool SaysNoindex(std::string_view content) {
  while (true) {
    const std::size_t comma = content.find(',');
    const std::string_view directive = TrimHtmlSpace(content.substr(0, comma));
    if (EqualsIgnoringAsciiCase(directive, "noindex") ||
        EqualsIgnoringAsciiCase(directive, "none")) {
      return true;
    }
    if (comma == std::string_view::npos) return false;
    content.remove_prefix(comma + 1);
  }
}

}  // namespace

bool AsksNoindex(const TagAttributes& meta) {
  return EqualsIgnoringAsciiCase(TrimHtmlSpace(AttributeValue(meta, "name")),
                                 "robots") &&
         SaysNoindex(AttributeValue(meta, "content"));
}

}  // namespace mapgen
