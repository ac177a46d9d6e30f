#include "RobotsTxt.h"

#include "Ascii.h"

namespace mapgen {
namespace {

constexpr std::string_view kField = "sitemap";
constexpr std::string_view kBlanks = " \t";

// Whether the line is "Sitemap: URL" for this URL.
bool NamesSitemap(std::string_view line, std::string_view url) {
  if (line.ends_with('\r')) line.remove_suffix(1);
  line = line.substr(0, line.find('#'));
  const std::size_t colon = line.find(':');
  return colon != line.npos &&
         EqualsIgnoringAsciiCase(Trim(line.substr(0, colon), kBlanks),
                                 kField) &&
         Trim(line.substr(colon + 1), kBlanks) == url;
}

}  // namespace

std::optional<std::string> RobotsTxtWithSitemap(std::string_view existing,
                                                std::string_view url) {
  std::string_view rest = existing;
  if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    if (NamesSitemap(rest.substr(0, end), url)) return std::nullopt;
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  const std::size_t firstEnd = existing.find('\n');
  const std::string_view lineEnd = firstEnd != existing.npos && firstEnd > 0 &&
                                           existing[firstEnd - 1] == '\r'
                                       ? "\r\n"
                                       : "\n";
  std::string text(existing);
  if (!text.empty() && !text.ends_with('\n')) text += lineEnd;
  text += "Sitemap: ";
  text += url;
  text += lineEnd;
  return text;
}

bool IsBelowHostRoot(std::string_view url) {
  const std::size_t scheme = url.find("://");
  if (scheme == url.npos) return false;
  const std::size_t path = url.find('/', scheme + 3);
  return path != url.npos && path + 1 < url.size();
}

}  // namespace mapgen
