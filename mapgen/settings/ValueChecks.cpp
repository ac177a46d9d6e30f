#include "ValueChecks.h"

#include <algorithm>
#include <array>

#include "Ascii.h"
#include "SettingsCheck.h"
#include "Utf8.h"

namespace mapgen {
namespace {

bool IsAsciiAlphanumeric(char c) { return IsAsciiLetter(c) || IsAsciiDigit(c); }

// A control character of C0, DEL, or, written in UTF-8, C1.
bool HasControlOrBlank(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte <= 0x20 || byte == 0x7F) return true;
    if (byte == 0xC2 && i + 1 < text.size() &&
        static_cast<unsigned char>(text[i + 1]) < 0xA0) {
      return true;
    }
  }
  return false;
}

Refusal Refused(std::string takes, std::string_view culprit) {
  return {std::move(takes), culprit};
}

// Whether `host` (with its port) is a name or an IPv4 address of letters,
// digits, dots, hyphens and underscores, or an IPv6 address in brackets.
bool IsHostAndPort(std::string_view authority) {
  std::string_view host = authority;
  if (host.starts_with('[')) {
    const std::size_t close = host.find(']');
    if (close == std::string_view::npos || close == 1) return false;
    const std::string_view address = host.substr(1, close - 1);
    if (!std::all_of(address.begin(), address.end(), [](char c) {
          return IsAsciiHexDigit(c) || c == ':' || c == '.';
        })) {
      return false;
    }
    host = host.substr(close + 1);
    if (host.empty()) return true;
    if (!host.starts_with(':')) return false;
  } else {
    const std::size_t colon = host.find(':');
    const std::string_view name = host.substr(0, colon);
    if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) {
          return IsAsciiAlphanumeric(c) || c == '.' || c == '-' || c == '_';
        })) {
      return false;
    }
    if (colon == std::string_view::npos) return true;
    host = host.substr(colon);
  }
  const std::string_view port = host.substr(1);
  return port.size() <= 5 &&
         std::all_of(port.begin(), port.end(), IsAsciiDigit);
}

}  // namespace

Refusal CheckText(std::string_view value) {
  if (value.find('\0') == std::string_view::npos) return {};
  return Refused("text without a NUL character", value);
}

Refusal CheckExcludeGlobs(std::string_view value) {
  for (std::string_view rest = value; !rest.empty();) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.find('/') != std::string_view::npos) {
      return Refused("globs of names, which hold no /", line);
    }
    rest = end == std::string_view::npos ? std::string_view()
                                         : rest.substr(end + 1);
  }
  return {};
}

Refusal CheckSiteUrl(std::string_view value) {
  if (value.empty()) return {};
  const std::string address = "an address ";
  if (!IsValidUtf8(value)) return Refused("UTF-8 text", value);
  if (HasControlOrBlank(value)) {
    return Refused(address + "without spaces or control characters", value);
  }
  std::string_view rest;
  for (const std::string_view scheme : {"http://", "https://"}) {
    if (StartsWithIgnoringAsciiCase(value, scheme))
      rest = value.substr(scheme.size());
  }
  if (rest.data() == nullptr) {
    return Refused(address + "that starts with http:// or https://", value);
  }
  if (value.find_first_of("?#") != std::string_view::npos) {
    return Refused(address + "without a query or fragment", value);
  }
  const std::string_view authority = rest.substr(0, rest.find_first_of("/\\"));
  if (authority.find('@') != std::string_view::npos) {
    return Refused(address + "without a user name", value);
  }
  if (authority.empty()) return Refused(address + "with a host", value);
  if (!std::all_of(authority.begin(), authority.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x80;
      })) {
    return Refused(address + "whose host is ASCII (its xn-- form)", value);
  }
  if (!IsHostAndPort(authority)) {
    return Refused(address + "whose host is a name or an IP address", value);
  }
  return {};
}

Refusal CheckLinkPrefix(std::string_view value) {
  // A browser drops blanks and control characters around a link, and tabs
  // and line breaks anywhere in it, before it looks for the scheme.
  std::string link;
  for (const char c : value) {
    if (c != '\t' && c != '\n' && c != '\r') link += c;
  }
  const std::size_t start = static_cast<std::size_t>(
      std::find_if(
          link.begin(), link.end(),
          [](char c) { return static_cast<unsigned char>(c) > 0x20; }) -
      link.begin());
  const std::string_view trimmed = std::string_view(link).substr(start);
  const std::size_t colon = trimmed.find(':');
  const std::string_view scheme = trimmed.substr(0, colon);
  const bool hasScheme =
      colon != std::string_view::npos && !scheme.empty() &&
      IsAsciiLetter(scheme[0]) &&
      std::all_of(scheme.begin(), scheme.end(), [](char c) {
        return IsAsciiAlphanumeric(c) || c == '+' || c == '-' || c == '.';
      });
  if (!hasScheme) return {};
  for (const std::string_view allowed : {"http", "https", "ftp", "file"}) {
    if (EqualsIgnoringAsciiCase(scheme, allowed)) return {};
  }
  return Refused("a relative path or an http:, https:, ftp: or file: address",
                 value);
}

Refusal CheckPathBelowPage(std::string_view value) {
  bool upward = false;
  for (std::string_view rest = value; !upward && !rest.empty();) {
    const std::size_t slash = rest.find('/');
    upward = rest.substr(0, slash) == "..";
    rest = slash == std::string_view::npos ? std::string_view()
                                           : rest.substr(slash + 1);
  }
  if (!value.starts_with('/') && !upward) return {};
  return Refused("a path below the page's folder", value);
}

Refusal CheckTemplateName(std::string_view value) {
  if (value.empty() ||
      std::ranges::find(kTemplateNames, value) != kTemplateNames.end()) {
    return {};
  }
  return Refused("classic, modern or nothing", value);
}

Refusal CheckLanguageTag(std::string_view value) {
  constexpr std::size_t kLongestTag = 35;
  constexpr std::size_t kLongestSubtag = 8;
  bool shaped = value.size() <= kLongestTag;
  bool first = true;
  for (std::string_view rest = value; shaped && !rest.empty(); first = false) {
    const std::size_t dash = rest.find('-');
    const std::string_view subtag = rest.substr(0, dash);
    shaped = !subtag.empty() && subtag.size() <= kLongestSubtag &&
             std::all_of(subtag.begin(), subtag.end(),
                         first ? IsAsciiLetter : IsAsciiAlphanumeric) &&
             (dash == std::string_view::npos || dash + 1 < rest.size());
    rest = dash == std::string_view::npos ? std::string_view()
                                          : rest.substr(dash + 1);
  }
  if (shaped) return {};
  return Refused("a language tag such as en or pt-BR", value);
}

Refusal CheckLastmodSource(std::string_view value) {
  if (value.empty() || value == "file" || value == "git") return {};
  return Refused("file, git or nothing", value);
}

}  // namespace mapgen
