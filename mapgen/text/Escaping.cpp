#include "Escaping.h"

#include <array>

#include "Ascii.h"

namespace mapgen {
namespace {

constexpr bool IsUnreserved(char c) {
  return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

// The bytes a path keeps as they are, looked up once a byte: every URL of
// a sitemap and every link of the page pass through here.
constexpr auto kPlainInPath = [] {
  std::array<bool, 256> plain{};
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    plain[byte] = IsUnreserved(c) || c == '/';
  }
  return plain;
}();

bool IsPlainInPath(char c) {
  return kPlainInPath[static_cast<unsigned char>(c)];
}

bool NeedsEscaping(char c) {
  return c == '&' || c == '<' || c == '>' || c == '"';
}

// How many bytes from the start of `text` satisfy `keep`.
template <typename Keep>
std::size_t PlainSpan(std::string_view text, Keep keep) {
  std::size_t plain = 0;
  while (plain < text.size() && keep(text[plain])) ++plain;
  return plain;
}

// Whether `text` begins with "&name;", "&#digits;" or "&#xhex;".
bool BeginsCharacterReference(std::string_view text) {
  std::size_t i = 1;
  bool (*allowed)(char) = nullptr;
  if (text.size() > 2 && text[1] == '#' && (text[2] == 'x' || text[2] == 'X')) {
    i = 3, allowed = IsAsciiHexDigit;
  } else if (text.size() > 1 && text[1] == '#') {
    i = 2, allowed = IsAsciiDigit;
  } else if (text.size() > 1 && IsAsciiLetter(text[1])) {
    allowed = [](char c) { return IsAsciiLetter(c) || IsAsciiDigit(c); };
  } else {
    return false;
  }
  const std::size_t first = i;
  while (i < text.size() && allowed(text[i])) ++i;
  return i > first && i < text.size() && text[i] == ';';
}

void AppendEscaped(std::string& out, char c) {
  switch (c) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '"':
      out += "&quot;";
      break;
    default:
      out += c;
  }
}

// RFC 3986's reserved characters, which give an address its parts.
bool IsReserved(char c) {
  return std::string_view(":/?#[]@!$&'()*+,;=").find(c) !=
         std::string_view::npos;
}

}  // namespace

bool IsUnreservedInUrl(char c) { return IsUnreserved(c); }

void AppendPercentEncoded(std::string& out, char c) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(c);
  out += '%';
  out += kHex[byte >> 4];
  out += kHex[byte & 0x0F];
}

std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto high = i + 2 < text.size() && text[i] == '%'
                          ? HexDigitValue(text[i + 1])
                          : std::nullopt;
    const auto low = high ? HexDigitValue(text[i + 2]) : std::nullopt;
    if (low) {
      decoded += static_cast<char>(*high * 16 + *low);
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

void AppendPercentEncodedPath(std::string& out, std::string_view target) {
  // Most names need little or no encoding: what stays is copied in spans.
  while (!target.empty()) {
    const std::size_t plain = PlainSpan(target, IsPlainInPath);
    out.append(target.substr(0, plain));
    if (plain == target.size()) return;
    AppendPercentEncoded(out, target[plain]);
    target.remove_prefix(plain + 1);
  }
}

void AppendEncodedAddress(std::string& out, std::string_view address) {
  for (const char c : address) {
    if (c == '&') {
      out += "&amp;";
    } else if (IsUnreserved(c) || IsReserved(c) || c == '%') {
      out += c;
    } else {
      AppendPercentEncoded(out, c);
    }
  }
}

void AppendEscapedText(std::string& out, std::string_view text) {
  while (!text.empty()) {
    // A search of a set of characters would ask the library once a byte.
    const std::size_t plain =
        PlainSpan(text, [](char c) { return !NeedsEscaping(c); });
    out.append(text.substr(0, plain));
    if (plain == text.size()) return;
    AppendEscaped(out, text[plain]);
    text.remove_prefix(plain + 1);
  }
}

void AppendEscapedTitle(std::string& out, std::string_view title) {
  for (std::size_t i = 0; i < title.size(); ++i) {
    if (title[i] == '&' && BeginsCharacterReference(title.substr(i))) {
      out += '&';
    } else {
      AppendEscaped(out, title[i]);
    }
  }
}

}  // namespace mapgen
