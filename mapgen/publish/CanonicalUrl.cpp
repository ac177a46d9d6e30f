#include "CanonicalUrl.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "Ascii.h"
#include "Escaping.h"
#include "Utf8.h"

namespace mapgen {
namespace {

// An address taken apart as RFC 3986 takes it; a part that is absent
// differs from one that is empty ("//" gives an empty authority).
struct UrlParts {
  std::optional<std::string> scheme;
  std::optional<std::string> authority;
  std::string path;
  std::optional<std::string> query;
};

// The character reference at the start of `text` ("&amp;", "&#233;",
// "&#xE9;"), read into `out`; its length, or 0 when there is none that an
// address would hold.
std::size_t ReadCharacterReference(std::string_view text, std::string& out) {
  static constexpr std::pair<std::string_view, char> kNamed[] = {
      {"&amp;", '&'},
      {"&lt;", '<'},
      {"&gt;", '>'},
      {"&quot;", '"'},
      {"&apos;", '\''}};
  for (const auto& [name, c] : kNamed) {
    if (text.starts_with(name)) {
      out += c;
      return name.size();
    }
  }
  if (!text.starts_with("&#")) return 0;
  const bool hex = text.size() > 2 && AsciiLower(text[2]) == 'x';
  std::size_t i = hex ? 3 : 2;
  std::uint32_t value = 0;
  const std::size_t first = i;
  for (; i < text.size() && i - first < 8; ++i) {
    const std::optional<int> digit =
        hex ? HexDigitValue(text[i])
            : (IsAsciiDigit(text[i]) ? std::optional(text[i] - '0')
                                     : std::nullopt);
    if (!digit) break;
    value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(*digit);
  }
  if (i == first || i >= text.size() || text[i] != ';' || value == 0 ||
      value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return 0;
  }
  AppendUtf8(out, value);
  return i + 1;
}

// The link as an attribute holds it, read as a browser reads it: character
// references replaced, blanks around it and tabs and line breaks in it
// dropped.
std::string AttributeUrl(std::string_view value) {
  const auto blank = [](char c) {
    return static_cast<unsigned char>(c) <= ' ';
  };
  while (!value.empty() && blank(value.front())) value.remove_prefix(1);
  while (!value.empty() && blank(value.back())) value.remove_suffix(1);
  std::string url;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '&') {
      const std::size_t read = ReadCharacterReference(value.substr(i), url);
      if (read > 0) {
        i += read - 1;
        continue;
      }
    }
    if (value[i] != '\t' && value[i] != '\n' && value[i] != '\r')
      url += value[i];
  }
  return url;
}

UrlParts Split(std::string_view url) {
  UrlParts parts;
  const std::size_t fragment = url.find('#');
  if (fragment != url.npos) url = url.substr(0, fragment);
  const std::size_t schemeEnd = url.find_first_of(":/?");
  if (schemeEnd != url.npos && schemeEnd > 0 && url[schemeEnd] == ':' &&
      IsAsciiLetter(url[0]) &&
      std::ranges::all_of(url.substr(0, schemeEnd), [](char c) {
        return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '+' || c == '-' ||
               c == '.';
      })) {
    parts.scheme = AsciiLowerCase(url.substr(0, schemeEnd));
    url.remove_prefix(schemeEnd + 1);
  }
  if (url.starts_with("//")) {
    const std::size_t end = std::min(url.find_first_of("/?", 2), url.size());
    parts.authority = url.substr(2, end - 2);
    url.remove_prefix(end);
  }
  const std::size_t query = url.find('?');
  if (query != url.npos) parts.query = url.substr(query + 1);
  parts.path = url.substr(0, query);
  return parts;
}

// The path without "." and ".." segments, as RFC 3986 removes them.
std::string WithoutDotSegments(std::string_view path) {
  std::vector<std::string_view> segments;
  const bool absolute = path.starts_with('/');
  if (absolute) path.remove_prefix(1);
  bool endsInFolder = false;
  while (true) {
    const std::size_t slash = std::min(path.find('/'), path.size());
    const std::string_view segment = path.substr(0, slash);
    const bool last = slash == path.size();
    endsInFolder = last && (segment == "." || segment == "..");
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (segment != ".") {
      segments.push_back(segment);
    }
    if (last) break;
    path.remove_prefix(slash + 1);
  }
  std::string result = absolute ? "/" : "";
  for (std::size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) result += '/';
    result += segments[i];
  }
  if (endsInFolder && !result.ends_with('/')) result += '/';
  return result;
}

std::string MergedPath(const UrlParts& base, std::string_view path) {
  if (base.authority && base.path.empty()) return "/" + std::string(path);
  const std::size_t slash = base.path.rfind('/');
  if (slash == std::string::npos) return std::string(path);
  return base.path.substr(0, slash + 1) + std::string(path);
}

// RFC 3986's resolution of a reference against a base address.
UrlParts Resolve(const UrlParts& ref, const UrlParts& base) {
  if (ref.scheme)
    return {ref.scheme, ref.authority, WithoutDotSegments(ref.path), ref.query};
  UrlParts target{base.scheme, ref.authority, WithoutDotSegments(ref.path),
                  ref.query};
  if (ref.authority) return target;
  target.authority = base.authority;
  if (ref.path.empty()) {
    target.path = base.path;
    if (!ref.query) target.query = base.query;
  } else if (!ref.path.starts_with('/')) {
    target.path = WithoutDotSegments(MergedPath(base, ref.path));
  }
  return target;
}

std::string_view DefaultPort(std::string_view scheme) {
  if (scheme == "http") return "80";
  if (scheme == "https") return "443";
  return {};
}

// The host in lower case, without a port that is the scheme's own.
std::string NormalisedAuthority(std::string_view authority,
                                std::string_view scheme) {
  const std::size_t at = authority.rfind('@');
  const std::string_view userInfo =
      at == authority.npos ? "" : authority.substr(0, at + 1);
  std::string_view host = authority.substr(at == authority.npos ? 0 : at + 1);
  std::string_view port;
  const std::size_t colon = host.rfind(':');
  if (colon != host.npos && host.find(']', colon) == host.npos) {
    port = host.substr(colon + 1);
    host = host.substr(0, colon);
  }
  while (port.size() > 1 && port.front() == '0') port.remove_prefix(1);
  std::string normal = std::string(userInfo) + AsciiLowerCase(host);
  if (!port.empty() && port != DefaultPort(scheme))
    normal += ":" + std::string(port);
  return normal;
}

// The text with each percent-encoded byte read, and every byte but the
// unreserved characters encoded again, so that two spellings of the same
// bytes compare equal. A `keep` character stays as it is, encoded or not,
// since it tells the parts apart ("/" in a path: "a%2Fb" is one segment).
std::string NormalisedEncoding(std::string_view text, std::string_view keep) {
  std::string normal;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    bool wasEncoded = false;
    const auto high = c == '%' && i + 2 < text.size()
                          ? HexDigitValue(text[i + 1])
                          : std::nullopt;
    const auto low = high ? HexDigitValue(text[i + 2]) : std::nullopt;
    if (low) {
      c = static_cast<char>(*high * 16 + *low);
      wasEncoded = true;
      i += 2;
    }
    const bool kept = keep.find(c) != keep.npos;
    if (IsUnreservedInUrl(c) || (kept && !wasEncoded)) {
      normal += c;
    } else {
      AppendPercentEncoded(normal, c);
    }
  }
  return normal;
}

// A path that ends in a folder's index page stands for the folder.
std::string WithoutIndexPage(std::string path) {
  const std::size_t slash = path.rfind('/');
  const std::string_view name = std::string_view(path).substr(slash + 1);
  if (slash != std::string::npos &&
      (name == "index.html" || name == "index.htm")) {
    path.resize(slash + 1);
  }
  return path;
}

std::string Joined(const UrlParts& url) {
  std::string text = *url.scheme + ":";
  if (url.authority) {
    text += "//" + NormalisedAuthority(*url.authority, *url.scheme);
  }
  std::string path = NormalisedEncoding(url.path, "/");
  if (url.authority && path.empty()) path = "/";
  text += WithoutIndexPage(std::move(path));
  // An empty query asks for nothing more than none does.
  if (url.query && !url.query->empty()) {
    text += "?" + NormalisedEncoding(*url.query, "&=+;");
  }
  return text;
}

}  // namespace

std::string NormalisedUrl(std::string_view reference, std::string_view base) {
  const UrlParts resolved = Resolve(Split(reference), Split(base));
  return resolved.scheme ? Joined(resolved) : std::string();
}

CanonicalMatch CompareCanonical(std::string_view href,
                                std::string_view pageUrl) {
  const std::string page = NormalisedUrl(pageUrl, pageUrl);
  const std::string canonical = NormalisedUrl(AttributeUrl(href), pageUrl);
  if (canonical == page) return CanonicalMatch::kSame;
  const auto withoutScheme =
      [](std::string_view url) -> std::optional<std::string_view> {
    for (const std::string_view scheme : {"http:", "https:"}) {
      if (url.starts_with(scheme)) return url.substr(scheme.size());
    }
    return std::nullopt;
  };
  const auto pageRest = withoutScheme(page);
  if (pageRest && pageRest == withoutScheme(canonical))
    return CanonicalMatch::kOtherScheme;
  return CanonicalMatch::kElsewhere;
}

}  // namespace mapgen
