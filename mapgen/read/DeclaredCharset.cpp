#include "DeclaredCharset.h"

#include "Ascii.h"
#include "EncodingLabels.h"
#include "MetaTags.h"
#include "Utf8.h"

namespace mapgen {
namespace {

// The value after `name`, blanks and "=" in `text`, quoted or running to
// the first blank, ";" or quote; empty when `name` is not followed by "=".
std::string_view ValueAfter(std::string_view text, std::string_view name) {
  std::size_t pos = FindIgnoringAsciiCase(text, name);
  while (pos != std::string_view::npos) {
    std::string_view rest = TrimHtmlSpace(text.substr(pos + name.size()));
    if (rest.starts_with('=')) {
      rest = TrimHtmlSpace(rest.substr(1));
      if (rest.starts_with('"') || rest.starts_with('\'')) {
        const std::size_t close = rest.find(rest[0], 1);
        if (close == std::string_view::npos) return {};
        return rest.substr(1, close - 1);
      }
      return rest.substr(0, rest.find_first_of(" \t\n\f\r;\"'"));
    }
    pos = FindIgnoringAsciiCase(text, name, pos + 1);
  }
  return {};
}

std::string_view XmlDeclarationEncoding(std::string_view head) {
  if (!head.starts_with("<?xml")) return {};
  const std::size_t end = head.find("?>");
  if (end == std::string_view::npos) return {};
  return ValueAfter(head.substr(0, end), "encoding");
}

}  // namespace

std::string_view ByteOrderMarkCharset(std::string_view start) {
  if (start.starts_with(kUtf8ByteOrderMark)) return "UTF-8";
  if (start.starts_with("\xFF\xFE")) return "UTF-16LE";
  if (start.starts_with("\xFE\xFF")) return "UTF-16BE";
  return {};
}

std::string_view MetaTagCharset(const TagAttributes& meta) {
  std::string_view charset = TrimHtmlSpace(AttributeValue(meta, "charset"));
  if (charset.empty() &&
      EqualsIgnoringAsciiCase(TrimHtmlSpace(AttributeValue(meta, "http-equiv")),
                              "content-type")) {
    charset = ValueAfter(AttributeValue(meta, "content"), "charset");
  }
  // A label browsers do not know declares nothing: they look on to the
  // next meta tag.
  return EncodingOfLabel(charset).empty() ? std::string_view() : charset;
}

std::string DeclaredCharset(std::string_view head,
                            std::string_view metaCharset) {
  if (const std::string_view mark = ByteOrderMarkCharset(head); !mark.empty()) {
    return std::string(mark);
  }
  std::string_view charset = TrimHtmlSpace(XmlDeclarationEncoding(head));
  if (EncodingOfLabel(charset).empty()) charset = metaCharset;
  if (IsUtf16Encoding(EncodingOfLabel(charset))) return "UTF-8";
  return std::string(charset);
}

}  // namespace mapgen
